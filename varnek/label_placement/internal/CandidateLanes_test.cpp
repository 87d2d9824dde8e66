#include <varnek/label_placement/internal/CandidateLanes.h>

#include <cstddef>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

const float s_nan = std::numeric_limits<float>::quiet_NaN();

// One lane at the anchor's origin: [0, 10] x [0, 10], the rest NaN.
RelativeCandidateRects oneSquare() {
    RelativeCandidateRects rects{};
    for (std::size_t j = 0; j < s_candidateLanes; ++j) {
        rects.left[j] = rects.top[j] = rects.right[j] = rects.bottom[j] = s_nan;
    }
    rects.left[0] = rects.top[0] = 0.0f;
    rects.right[0] = rects.bottom[0] = 10.0f;
    rects.laneCount = 1;
    return rects;
}

TEST(ScalarCandidateLanes, EdgesFollowTheTestsStrictness) {
    const RelativeCandidateRects rects = oneSquare();
    struct Case {
        const char* what;
        float halfGap;
        float x;
        float y;
        LabelRect label;
        std::uint32_t covering;
        std::uint32_t overlapping;
    };
    const Case cases[] = {
        {"anchor inside, label overlapping", 0.0f, 5.0f, 5.0f, {9.0f, 9.0f, 20.0f, 20.0f}, 1, 1},
        {"anchor on an edge, label touching", 0.0f, 10.0f, 5.0f, {10.0f, 0.0f, 20.0f, 10.0f}, 0, 0},
        {"the gap makes a touching label overlap",
         0.5f,
         10.0f,
         5.0f,
         {10.0f, 0.0f, 20.0f, 10.0f},
         0,
         1},
        {"NaN neighbours pass no test", 0.0f, s_nan, 5.0f, {s_nan, 0.0f, 20.0f, 10.0f}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScalarCandidateLanes<1> lanes(0.0f, 0.0f, rects, c.halfGap);
        lanes.noteAnchor(c.x, c.y);
        lanes.noteLabel(c.label);
        EXPECT_EQ(lanes.getCoveringMask(), c.covering);
        EXPECT_EQ(lanes.getOverlappingMask(), c.overlapping);
    }
    ScalarCandidateLanes<1> lanes(100.0f, 100.0f, rects, 0.0f);
    EXPECT_EQ(lanes.getInsideMask({100.0f, 100.0f, 110.0f, 110.0f}), 1u) << "edges included";
    EXPECT_EQ(lanes.getInsideMask({100.0f, 100.0f, 109.0f, 110.0f}), 0u);
    // Anchors in an area may note a lane not yet noted that holds a point of
    // it strictly inside.
    EXPECT_TRUE(lanes.mayNoteAnchorIn({109.5f, 109.5f, 110.0f, 112.0f}));
    EXPECT_FALSE(lanes.mayNoteAnchorIn({110.0f, 100.0f, 110.0f, 110.0f})) << "on an edge";
    EXPECT_FALSE(lanes.mayNoteAnchorIn({110.0f, 110.0f, 130.0f, 130.0f})) << "at a corner";
    lanes.noteAnchor(105.0f, 105.0f);
    EXPECT_FALSE(lanes.mayNoteAnchorIn({100.0f, 100.0f, 110.0f, 110.0f})) << "noted";

    ScalarCandidateBlockerLanes<1> blockers(0.0f, 0.0f, rects, 0.0f);
    blockers.noteLabel({5.0f, 5.0f, 6.0f, 6.0f}, 7);
    blockers.noteLabel({10.0f, 5.0f, 16.0f, 6.0f}, 8);
    blockers.noteLabel({-5.0f, -5.0f, 1.0f, 1.0f}, 9);
    CandidateBlockers found{};
    blockers.copyTo(found);
    EXPECT_EQ(found.count[0], 2u);
    EXPECT_EQ(found.last[0], 9u);
    EXPECT_EQ(found.count[1], 0u);
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
