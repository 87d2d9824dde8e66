#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using RP = LabelBackground::ReferencePoint;
using VarnekTesting::checkGuarantees;
using VarnekTesting::hashOf;
using VarnekTesting::label;
using VarnekTesting::makeBackgrounds;
using VarnekTesting::makePlainRectangle;
using VarnekTesting::makeRandomScene;

const std::vector<RP> s_cornerCandidates = {LabelBackground::TopRight, LabelBackground::TopLeft,
                                            LabelBackground::BottomRight,
                                            LabelBackground::BottomLeft};

const std::vector<RP> s_allCandidates(LabelPlacementOptions::defaultCandidates.begin(),
                                      LabelPlacementOptions::defaultCandidates.end());

// Small scenes of 30 x 7 plain rectangles at the four corners, each with one
// best answer.
struct Scene {
    const char* name;
    LabelRect viewport;
    std::vector<LabelRequest> labels;
    std::vector<bool> visible;
    std::vector<RP> referencePoints;  // of the visible labels
};

TEST(LabelPlacerTest, HandMadeScenesGetTheirBestAnswer) {
    const std::vector<Scene> scenes = {
        {"two neighbours flip apart",
         {0.0f, 0.0f, 200.0f, 200.0f},
         {label(0, 100.0f, 100.0f), label(1, 110.0f, 100.0f)},
         {true, true},
         {LabelBackground::TopRight, LabelBackground::BottomRight}},
        {"at the right edge the label flips left",
         {0.0f, 0.0f, 200.0f, 200.0f},
         {label(0, 190.0f, 100.0f)},
         {true},
         {LabelBackground::TopLeft}},
        {"the higher priority wins whatever the request order",
         {30.0f, 0.0f, 60.0f, 10.0f},
         {label(0, 30.0f, 10.0f, 0.0f), label(1, 30.0f, 10.0f, 5.0f)},
         {false, true},
         {LabelBackground::TopRight, LabelBackground::TopRight}},
        {"no room in the view hides the label",
         {0.0f, 0.0f, 20.0f, 20.0f},
         {label(0, 5.0f, 5.0f)},
         {false},
         {LabelBackground::Center}},
    };
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        LabelPlacementOptions options;
        options.viewport = scene.viewport;
        options.candidates = s_cornerCandidates;
        LabelPlacer placer(makePlainRectangle(612.0f), options);
        const std::vector<PlacedLabel>& placed = placer.place(scene.labels);
        ASSERT_EQ(placed.size(), scene.labels.size());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].visible, scene.visible[i]) << "label " << i;
            if (placed[i].visible) {
                EXPECT_EQ(placed[i].referencePoint, scene.referencePoints[i]) << "label " << i;
            } else {
                EXPECT_EQ(placed[i].hiddenReason, LabelHiddenReason::NoRoom);
            }
        }
    }
}

// The camera moves two kept labels together: one keeps its place, the
// other steps back for one call instead of jumping, and comes back in the
// next call (the same frame, placed anew).
TEST(LabelPlacerTest, ALabelWhosePlaceIsTakenStepsBackForOneCall) {
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 400.0f, 200.0f};
    options.candidates = s_cornerCandidates;
    LabelPlacer placer(makePlainRectangle(612.0f), options);
    for (const PlacedLabel& placed :
         placer.place({label(0, 100.0f, 100.0f), label(1, 200.0f, 100.0f)})) {
        ASSERT_TRUE(placed.visible);
        ASSERT_EQ(placed.referencePoint, LabelBackground::TopRight);
    }
    const std::vector<LabelRequest> together = {label(0, 100.0f, 100.0f), label(1, 110.0f, 100.0f)};
    const std::vector<PlacedLabel> moved = placer.place(together);
    ASSERT_NE(moved[0].visible, moved[1].visible);
    const std::size_t kept = moved[0].visible ? 0 : 1;
    EXPECT_EQ(moved[kept].referencePoint, LabelBackground::TopRight);
    EXPECT_EQ(moved[1 - kept].hiddenReason, LabelHiddenReason::PlaceTaken);

    const std::vector<PlacedLabel>& back = placer.place(together);
    EXPECT_TRUE(back[0].visible && back[1].visible);
    EXPECT_EQ(back[kept].referencePoint, LabelBackground::TopRight);
}

// Random scenes of every background, priority mix, gap and obstacle rule.
TEST(LabelPlacerTest, RandomScenesKeepEveryGuaranteeAndRepeatBitForBit) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    for (unsigned int seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const std::size_t count = 20 + 6 * seed;
        const std::vector<LabelRequest> labels =
            makeRandomScene(random, count, viewport, backgrounds);
        LabelPlacementOptions options;
        options.viewport = viewport;
        options.gap = seed % 3 == 0 ? 2.0f : 0.0f;
        options.anchorsAreObstacles = seed % 4 != 1;
        options.effort = static_cast<int>(seed % 4);
        LabelPlacer placer(backgrounds[seed % backgrounds.size()], options);
        const std::vector<PlacedLabel> first = placer.place(labels);
        ASSERT_EQ(checkGuarantees(labels, first, options,
                                  backgrounds[seed % backgrounds.size()].get(), s_allCandidates),
                  "");
        // The same frame again changes nothing; a fresh placer repeats it.
        EXPECT_EQ(hashOf(placer.place(labels)), hashOf(first));
        LabelPlacer fresh(backgrounds[seed % backgrounds.size()], options);
        EXPECT_EQ(hashOf(fresh.place(labels)), hashOf(first));
    }
}

// The outline buffer holds, per visible label in request order, the
// background's own polygon at the chosen place moved to the anchor, bit for
// bit, and the triangle buffer that polygon's fill triangles; setOptions and
// forgetHistory leave the outlines as they were.
TEST(LabelPlacerTest, OutlinesAreEachVisibleLabelsPolygonAtItsAnchor) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    std::mt19937 random(7);
    const std::vector<LabelRequest> labels = makeRandomScene(random, 150, viewport, backgrounds);
    LabelPlacementOptions options;
    options.viewport = viewport;
    LabelPlacer placer(backgrounds[0], options);
    const std::vector<PlacedLabel> placed = placer.place(labels);

    std::vector<Vector<float, 3>> expected;
    std::vector<std::uint32_t> expectedStarts;
    // Each outline's fill triangles, from the index firstPoint on.
    const std::uint32_t firstPoint = 5;
    std::vector<std::uint32_t> expectedTriangles;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!placed[i].visible) {
            continue;
        }
        const LabelBackground& background =
            labels[i].background != nullptr ? *labels[i].background : *backgrounds[0];
        const auto first = static_cast<std::uint32_t>(expected.size());
        expectedStarts.push_back(first);
        const std::vector<Vector<float, 3>> outline =
            background.getPolygon(placed[i].referencePoint, labels[i].size, placed[i].offset);
        for (const auto& p : outline) {
            expected.push_back({labels[i].anchor[0] + p[0], labels[i].anchor[1] + p[1], 0.0f});
        }
        for (const std::uint32_t index : LabelBackground::getPolygonTriangles(outline)) {
            expectedTriangles.push_back(firstPoint + first + index);
        }
    }
    std::vector<std::uint32_t> triangles = {7};
    placer.appendTriangles(triangles, firstPoint);
    ASSERT_EQ(triangles.size(), 1 + expectedTriangles.size());
    EXPECT_TRUE(
        std::equal(expectedTriangles.begin(), expectedTriangles.end(), triangles.begin() + 1));
    expectedStarts.push_back(static_cast<std::uint32_t>(expected.size()));
    ASSERT_GT(expectedStarts.size(), 20u);

    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    placer.appendOutlines(points, starts);
    placer.forgetHistory();
    options.gap = 3.0f;
    placer.setOptions(options);
    placer.appendOutlines(points, starts);
    ASSERT_EQ(points.size(), 2 * expected.size());
    ASSERT_EQ(starts.size(), 2 * expectedStarts.size());
    for (std::size_t copy = 0; copy < 2; ++copy) {
        for (std::size_t p = 0; p < expected.size(); ++p) {
            for (std::size_t c = 0; c < 3; ++c) {
                ASSERT_EQ(points[copy * expected.size() + p][c], expected[p][c]) << p;
            }
        }
        for (std::size_t s = 0; s < expectedStarts.size(); ++s) {
            EXPECT_EQ(starts[copy * expectedStarts.size() + s],
                      copy * expected.size() + expectedStarts[s]);
        }
    }
}

TEST(LabelPlacerTest, OutOfContractRequestsAreHiddenAsDocumented) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto uninitialized = SymmetricCornerLabelBackground::createRoundCornered(nullptr);
    std::vector<LabelRequest> labels(6, label(0, 100.0f, 100.0f));
    labels[0].anchor[0] = nan;
    labels[1].anchor[1] = inf;
    labels[2].size[0] = -1.0f;
    labels[3].size[1] = nan;
    labels[4].background = uninitialized.get();
    labels[5].anchor = {150.0f, 150.0f, 0.0f};
    const std::vector<LabelHiddenReason> reasons = {LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::BackgroundNotInitialized,
                                                    LabelHiddenReason::None};

    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 200.0f, 200.0f};
    LabelPlacer placer(makePlainRectangle(200.0f), options);
    const std::vector<PlacedLabel> placed = placer.place(labels);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(placed[i].hiddenReason, reasons[i]) << "label " << i;
        EXPECT_EQ(placed[i].visible, reasons[i] == LabelHiddenReason::None) << "label " << i;
    }
    EXPECT_EQ(hashOf(placer.place(labels)), hashOf(placed));

    // An inverted, empty-in-one-axis or NaN viewport hides every label.
    for (const LabelRect viewport :
         {LabelRect{10.0f, 0.0f, 0.0f, 10.0f}, LabelRect{0.0f, 10.0f, 10.0f, 0.0f},
          LabelRect{0.0f, 0.0f, nan, 10.0f}}) {
        options.viewport = viewport;
        placer.setOptions(options);
        for (const PlacedLabel& p : placer.place(labels)) {
            EXPECT_FALSE(p.visible);
        }
        EXPECT_EQ(placer.place(labels)[5].hiddenReason, LabelHiddenReason::OutOfContract);
    }
}

}  // namespace
}  // namespace Varnek
