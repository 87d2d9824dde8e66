#include <varnek/label_placement/internal/CandidateLanes.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>

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

#if VARNEK_HAS_VECTOR_LANES

// Coordinates on a coarse grid, so that edges often coincide, now and then
// NaN.
float coordinate(std::mt19937& random) {
    const auto value = static_cast<float>(std::uniform_int_distribution<int>(-12, 12)(random));
    return std::uniform_int_distribution<int>(0, 40)(random) == 0 ? s_nan : value;
}

LabelRect rectAround(std::mt19937& random, float x, float y) {
    const float a = x + coordinate(random);
    const float b = y + coordinate(random);
    return {a, b, a + static_cast<float>(std::uniform_int_distribution<int>(0, 8)(random)),
            b + static_cast<float>(std::uniform_int_distribution<int>(0, 8)(random))};
}

// Random lanes (some wholly NaN, some with one NaN side), a random anchor
// and gap, then random neighbours: after every one, both routes agree.
template <std::size_t Quads>
void compareRoutes(std::mt19937& random) {
    RelativeCandidateRects rects{};
    rects.laneCount = std::uniform_int_distribution<std::size_t>(4 * Quads - 3, 4 * Quads)(random);
    for (std::size_t j = 0; j < s_candidateLanes; ++j) {
        const LabelRect r = rectAround(random, 0.0f, 0.0f);
        const bool none =
            j >= rects.laneCount || std::uniform_int_distribution<int>(0, 6)(random) == 0;
        rects.left[j] = none ? s_nan : r.left;
        rects.top[j] = none ? s_nan : r.top;
        rects.right[j] = none ? s_nan : r.right;
        rects.bottom[j] = none ? s_nan : r.bottom;
    }
    const float x = coordinate(random);
    const float y = coordinate(random);
    const float halfGap =
        static_cast<float>(std::uniform_int_distribution<int>(0, 2)(random)) * 0.5f;
    VectorCandidateLanes<Quads> vector(x, y, rects, halfGap);
    ScalarCandidateLanes<Quads> scalar(x, y, rects, halfGap);
    VectorCandidateBlockerLanes<Quads> vectorBlockers(x, y, rects, halfGap);
    ScalarCandidateBlockerLanes<Quads> scalarBlockers(x, y, rects, halfGap);
    for (std::uint32_t n = 0; n < 24; ++n) {
        const LabelRect area = rectAround(random, x, y);
        ASSERT_EQ(vector.getInsideMask(area), scalar.getInsideMask(area));
        const float anchorX = x + coordinate(random);
        const float anchorY = y + coordinate(random);
        vector.noteAnchor(anchorX, anchorY);
        scalar.noteAnchor(anchorX, anchorY);
        ASSERT_EQ(vector.getCoveringMask(), scalar.getCoveringMask());
        const LabelRect label = rectAround(random, x, y);
        vector.noteLabel(label);
        scalar.noteLabel(label);
        ASSERT_EQ(vector.getOverlappingMask(), scalar.getOverlappingMask());
        vectorBlockers.noteLabel(label, n);
        scalarBlockers.noteLabel(label, n);
    }
    CandidateBlockers fromVector{};
    CandidateBlockers fromScalar{};
    vectorBlockers.copyTo(fromVector);
    scalarBlockers.copyTo(fromScalar);
    for (std::size_t j = 0; j < 4 * Quads; ++j) {
        ASSERT_EQ(fromVector.count[j], fromScalar.count[j]) << "lane " << j;
        ASSERT_EQ(fromVector.last[j], fromScalar.last[j]) << "lane " << j;
    }
}

TEST(CandidateLanes, PlainLoopAgreesWithVectorLanesOnRandomRectangles) {
    std::mt19937 random(5u);
    for (int round = 0; round < 500; ++round) {
        compareRoutes<1>(random);
        compareRoutes<2>(random);
        compareRoutes<3>(random);
        compareRoutes<4>(random);
        if (HasFatalFailure()) {
            return;
        }
    }
}

#endif

}  // namespace
}  // namespace internal
}  // namespace Varnek
