#include <varnek/label_placement/internal/Segments.h>

#include <varnek/label_placement/internal/CalloutRings.h>

#include <limits>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

// Every answer holds for the segments' ends in either order. The far cases
// mix magnitudes (1e-12 and 1e3, a subnormal) whose differences in double
// are rounded, which turns the rounded turn's sign or distance.
Segment reversed(const Segment& s) {
    return {s.x1, s.y1, s.x0, s.y0};
}

TEST(Segments, TwoSegmentsMeetExactlyWhenTheyShareAPoint) {
    const float tiny = 0x1p-149f;
    struct Case {
        const char* what;
        Segment a;
        Segment b;
        bool meet;
    };
    const Case cases[] = {
        {"crossing", {0.0f, 0.0f, 10.0f, 10.0f}, {0.0f, 10.0f, 10.0f, 0.0f}, true},
        {"collinear, overlapping", {0.0f, 0.0f, 4.0f, 2.0f}, {2.0f, 1.0f, 8.0f, 4.0f}, true},
        {"collinear, apart", {0.0f, 0.0f, 4.0f, 2.0f}, {6.0f, 3.0f, 8.0f, 4.0f}, false},
        // (999, 2997) lies on the line y = 3x through both ends of a.
        {"an end on the other, whose end is 1e-12 from the origin",
         {-0x1.754p-40f, -0x1.17fp-38f, 1848.0f, 5544.0f},
         {999.0f, 2997.0f, 900.0f, 3100.0f},
         true},
        {"a miss by 1e-24 beside the other's end 1e-12 from the origin",
         {1848.0f, 5544.0f, -0x1.754p-40f, -0x1.17fp-38f},
         {-0x1.62ea46p-40f, -0x1.0a2fbp-38f, -0x1.2bd5c4p-38f, -0x1.87a294p-39f},
         false},
        {"a miss by a subnormal",
         {1848.0f, 5544.0f, 0.0f, 0.0f},
         {tiny, 4 * tiny, -1.0f, 0.0f},
         false},
        {"an end on the other by a subnormal",
         {1848.0f, 5544.0f, 0.0f, 0.0f},
         {tiny, 3 * tiny, -1.0f, 0.0f},
         true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(segmentsMeet(c.a, c.b), c.meet) << c.what;
        EXPECT_EQ(segmentsMeet(reversed(c.b), c.a), c.meet) << c.what;
    }
}

TEST(Segments, ASegmentEntersARectangleExactlyWhenAPointLiesStrictlyInside) {
    const float infinity = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        Segment s;
        LabelRect r;
        bool enters;
    };
    const Case cases[] = {
        {"across", {0.0f, 0.0f, 10.0f, 10.0f}, {4.0f, 2.0f, 6.0f, 8.0f}, true},
        {"through a corner", {0.0f, 10.0f, 10.0f, 0.0f}, {5.0f, 5.0f, 9.0f, 9.0f}, false},
        {"along an edge", {5.0f, 0.0f, 5.0f, 10.0f}, {5.0f, 2.0f, 9.0f, 8.0f}, false},
        {"upright, inside", {6.0f, 0.0f, 6.0f, 10.0f}, {5.0f, 2.0f, 9.0f, 8.0f}, true},
        {"across a rectangle of no height",
         {0.0f, 0.0f, 10.0f, 10.0f},
         {0.0f, 5.0f, 9.0f, 5.0f},
         false},
        {"into a rectangle reaching infinity",
         {0.0f, 0.0f, 10.0f, 10.0f},
         {-infinity, 9.0f, 1.0f, infinity},
         false},
        {"into a half plane",
         {0.0f, 0.0f, 10.0f, 10.0f},
         {-infinity, 9.0f, infinity, infinity},
         true},
        // Its line passes 6e-12 beside the corner (1536.49..., -1536).
        {"past a corner by 6e-12, from 1e-11 off the axis",
         {0x1.f98p-2f, 0x1.cp-38f, 0x1.841f98p+10f, -1552.0f},
         {0x1.801f98p+10f, -1536.0f, 0x1.800fccp+11f, -0x1.7fffb2p+10f},
         true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(segmentEntersRect(c.s, c.r), c.enters) << c.what;
        EXPECT_EQ(segmentEntersRect(reversed(c.s), c.r), c.enters) << c.what;
    }
}

TEST(Segments, APointIsNearASegmentExactlyWhenWithinTheDistance) {
    struct Case {
        const char* what;
        Segment s;
        float x;
        float y;
        float distance;
        bool near;
    };
    const Case cases[] = {
        {"at the distance from the line, (17, 31) off (0, 0)-(300, 400) by 5",
         {0.0f, 0.0f, 300.0f, 400.0f},
         17.0f,
         31.0f,
         5.0f,
         true},
        {"a hair beyond it", {0.0f, 0.0f, 300.0f, 400.0f}, 17.0f, 0x1.f00002p+4f, 5.0f, false},
        {"beyond the end by 2^-60 more than the distance",
         {1024.0f, 0.0f, 2048.0f, 0.0f},
         -0x1p-60f,
         0.0f,
         1024.0f,
         false},
        {"beyond the line by 2^-70 more than the distance",
         {-1.0f, -0x1p-70f, 1.0f, -0x1p-70f},
         0.0f,
         1.0f,
         1.0f,
         false},
        {"on it, at distance 0", {1848.0f, 5544.0f, 0.0f, 0.0f}, 999.0f, 2997.0f, 0.0f, true},
        {"off it by a subnormal, at distance 0",
         {1848.0f, 5544.0f, 0.0f, 0.0f},
         0x1p-149f,
         0x1p-147f,
         0.0f,
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pointNearSegment(c.s, c.x, c.y, c.distance), c.near) << c.what;
        EXPECT_EQ(pointNearSegment(reversed(c.s), c.x, c.y, c.distance), c.near) << c.what;
    }
    // A callout's body within the distance of its anchor, as its nearest
    // point: beyond by 2^-60, at it, holding it.
    const LabelRect body{1024.0f, 0.0f, 2048.0f, 8.0f};
    EXPECT_FALSE(CalloutRings::standsAway(body, -0x1p-60f, 4.0f, 1024.0f));
    EXPECT_TRUE(CalloutRings::standsAway(body, 0.0f, 4.0f, 1024.0f));
    EXPECT_FALSE(CalloutRings::standsAway(body, 1024.0f, 4.0f, 1024.0f));
}

TEST(Segments, AnAnchorSeesACornerExactlyWhenItsLeaderKeepsOutOfTheBody) {
    // The corner (0, 0) between edges from a and to c, the anchor relative
    // to the body's origin.
    struct Case {
        const char* what;
        float ax, ay, cx, cy, x, y, ox, oy;
        bool sees;
    };
    const Case cases[] = {
        {"convex, inside its edge's line by 2^-60, 1e3 from the origin", -8.0f, -8.0f, 0.0f, 8.0f,
         0.0f, 0x1p-60f, 1024.0f, 1024.0f, false},
        {"convex, outside it by 2^-60", -8.0f, -8.0f, 0.0f, 8.0f, 0.0f, -0x1p-60f, 1024.0f, 1024.0f,
         true},
        {"repeated (a round side's tip), from across the body", 0.25f, 1.5f, 0.0f, 0.0f, 20.0f,
         0.0f, 0.0f, 0.0f, false},
        {"reflex, inside one edge's line only", 0.25f, -0.25f, 1.0f, 4.0f, 8.0f, -16.0f, 0.0f, 0.0f,
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(seesCorner(c.ax, c.ay, 0.0f, 0.0f, c.cx, c.cy, c.x, c.y, c.ox, c.oy), c.sees)
            << c.what;
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
