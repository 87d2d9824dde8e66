#include <varnek/label_placement/internal/ShapeCache.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <testing/LabelShapeTesting.h>
#include <testing/PlacementTesting.h>
#include <varnek/label_placement/LabelPlacementOptions.h>

namespace Varnek {
namespace internal {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;
using VarnekTesting::sameBits;

std::vector<ReferencePoint> everyCandidate() {
    std::vector<ReferencePoint> candidates(LabelPlacementOptions::defaultCandidates.begin(),
                                           LabelPlacementOptions::defaultCandidates.end());
    candidates.push_back(LabelBackground::Center);
    return candidates;
}

// Each candidate's offset, bounds and outline are the placer's guarantees,
// checked over seeded scenes in LabelPlacer_test.cpp; here, the lanes.
TEST(ShapeCache, GivesEqualRectanglesOneLaneAndASpanHoldingThemAll) {
    const std::vector<ReferencePoint> candidates = everyCandidate();
    const Vector<float, 3> size(30.0f, 7.0f, 0.0f);
    for (const auto& background : VarnekTesting::makeBackgrounds(300.0f)) {
        ShapeCache cache;
        cache.reset(candidates);
        const std::uint32_t shape = cache.find(*background, size);
        const RelativeCandidateRects& rects = cache.getCandidateRects(shape);
        std::vector<LabelRect> lanes;
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "candidate " << k);
            const CandidateShape& candidate = cache.getCandidate(shape, k);
            // A lane per distinct rectangle, in order of first candidates.
            std::size_t lane = 0;
            while (lane < lanes.size() && !sameBits(lanes[lane], candidate.bounds)) {
                ++lane;
            }
            if (lane == lanes.size()) {
                lanes.push_back(candidate.bounds);
                EXPECT_EQ(rects.firstCandidateOfLane[lane], k);
            }
            EXPECT_EQ(candidate.lane, lane);
            EXPECT_EQ(cache.isFirstWithItsBounds(shape, k), rects.firstCandidateOfLane[lane] == k);
            EXPECT_TRUE(sameBits(rects.left[lane], candidate.bounds.left));
            EXPECT_TRUE(sameBits(rects.bottom[lane], candidate.bounds.bottom));
            const LabelRect& span = cache.getSpan(shape);
            EXPECT_TRUE(span.left <= candidate.bounds.left && span.top <= candidate.bounds.top &&
                        candidate.bounds.right <= span.right &&
                        candidate.bounds.bottom <= span.bottom);
        }
        EXPECT_EQ(rects.laneCount, lanes.size());
        EXPECT_LT(rects.laneCount, candidates.size()) << "a side's reference points agree";
        EXPECT_TRUE(std::isnan(rects.left[rects.laneCount]));
    }
}

TEST(ShapeCache, KeysShapesByBackgroundScaleAndSize) {
    const auto backgrounds = VarnekTesting::makeBackgrounds(300.0f);
    ShapeCache cache;
    cache.reset(everyCandidate());
    const Vector<float, 3> size(30.0f, 7.0f, 0.0f);
    const std::uint32_t shape = cache.find(*backgrounds[0], size);
    EXPECT_EQ(cache.find(*backgrounds[0], size), shape);
    EXPECT_NE(cache.find(*backgrounds[1], size), shape);
    EXPECT_NE(cache.find(*backgrounds[0], {30.0f, 7.5f, 0.0f}), shape);
    // A new scale factor is a new shape, with the new geometry.
    backgrounds[0]->initialize(600.0f);
    const std::uint32_t rescaled = cache.find(*backgrounds[0], size);
    EXPECT_NE(rescaled, shape);
    const Vector<float, 3> offset =
        backgrounds[0]->getOffset(LabelPlacementOptions::defaultCandidates[0], size);
    EXPECT_TRUE(sameBits(cache.getCandidate(rescaled, 0).offset[1], offset[1]));

    // A frame of few labels drops a cache grown far beyond it.
    for (int n = 0; n < 300; ++n) {
        cache.find(*backgrounds[2], {static_cast<float>(n), 7.0f, 0.0f});
    }
    cache.beginFrame(10);
    EXPECT_EQ(cache.find(*backgrounds[3], size), 0u);
}

#if defined(VARNEK_ENABLE_ASSERTS)

TEST(ShapeCacheDeathTest, AGeometryChangedBehindInitializeFailsTheCheck) {
    const auto backgrounds = VarnekTesting::makeBackgrounds(300.0f);
    VarnekTesting::ModelBackground background(backgrounds[0]);
    background.initialize(300.0f);
    ShapeCache cache;
    cache.reset(everyCandidate());
    const Vector<float, 3> size(30.0f, 7.0f, 0.0f);
    cache.find(background, size);
    background.switchTo(backgrounds[3]);
    EXPECT_DEATH(cache.find(background, size), "internal check failed");
}

#endif

}  // namespace
}  // namespace internal
}  // namespace Varnek
