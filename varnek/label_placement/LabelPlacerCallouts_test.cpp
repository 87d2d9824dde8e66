#include <varnek/label_placement/LabelPlacer.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using VarnekTesting::checkCallouts;
using VarnekTesting::checkGuarantees;
using VarnekTesting::hashOf;
using VarnekTesting::label;
using VarnekTesting::makeBackgrounds;
using VarnekTesting::makePlainRectangle;
using VarnekTesting::makeRandomScene;

const std::vector<LabelBackground::ReferencePoint> s_allCandidates(
    LabelPlacementOptions::defaultCandidates.begin(),
    LabelPlacementOptions::defaultCandidates.end());

// Too wide for the view: hidden, its anchor still an obstacle.
LabelRequest wide(LabelRequest request) {
    request.size[0] = 1000.0f;
    return request;
}

// Places and checks every guarantee of the labels and of the callouts;
// an empty string when all hold.
std::string placeAndCheck(LabelPlacer& placer, const std::vector<LabelRequest>& labels,
                          const LabelBackground* background, float distance,
                          std::vector<PlacedLabel>& placed,
                          std::vector<Vector<float, 3>>& leaders) {
    placed = placer.place(labels);
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    leaders.clear();
    placer.appendOutlines(points, starts);
    placer.appendLeaders(leaders);
    const std::string broken =
        checkGuarantees(labels, placed, placer.getOptions(), background, s_allCandidates);
    return !broken.empty()
               ? broken
               : checkCallouts(labels, placed, background, distance, points, starts, leaders);
}

std::string placeAndCheck(LabelPlacer& placer, const std::vector<LabelRequest>& labels,
                          const LabelBackground* background, float distance,
                          std::vector<PlacedLabel>& placed) {
    std::vector<Vector<float, 3>> leaders;
    return placeAndCheck(placer, labels, background, distance, placed, leaders);
}

// The view (0, 0)-(400, 400) kept out but for the given windows, each a
// band of y [top, bottom] between x [left, right].
std::vector<LabelRect> keepOutAllBut(const std::vector<LabelRect>& windows) {
    std::vector<LabelRect> out;
    float y = 0.0f;
    for (const LabelRect& window : windows) {
        out.push_back({0.0f, y, 400.0f, window.top});
        out.push_back({0.0f, window.top, window.left, window.bottom});
        out.push_back({window.right, window.top, 400.0f, window.bottom});
        y = window.bottom;
    }
    out.push_back({0.0f, y, 400.0f, 400.0f});
    return out;
}

struct Scene {
    const char* name;
    std::vector<LabelRequest> labels;
    std::vector<LabelRect> keepOut;
    float distance;
    // Per label: 0 hidden, 1 next to its anchor, 2 a callout.
    std::vector<int> expected;
};

TEST(LabelPlacerCalloutsTest, HandMadeScenesGetTheirCallouts) {
    const std::vector<Scene> scenes = {
        {"a label boxed in by four neighbours' anchors stands away",
         {label(0, 200.0f, 200.0f), wide(label(1, 197.0f, 197.0f)), wide(label(2, 203.0f, 197.0f)),
          wide(label(3, 197.0f, 203.0f)), wide(label(4, 203.0f, 203.0f))},
         {},
         42.0f,
         {2, 0, 0, 0, 0}},
        {"four neighbours' labels leave it no way out",
         {label(0, 200.0f, 200.0f), label(1, 197.0f, 197.0f, 1.0f), label(2, 203.0f, 197.0f, 1.0f),
          label(3, 197.0f, 203.0f, 1.0f), label(4, 203.0f, 203.0f, 1.0f)},
         {},
         42.0f,
         {0, 1, 1, 1, 1}},
        {"a leader passing a third anchor is no leader: that label takes the window",
         {label(0, 200.0f, 200.0f, 1.0f), label(1, 200.0f, 199.8f)},
         keepOutAllBut({{185.0f, 146.0f, 215.0f, 162.0f}}),
         80.0f,
         {0, 2}},
        {"a keep-out rectangle on the only free place",
         {label(0, 200.0f, 200.0f)},
         [] {
             std::vector<LabelRect> out = keepOutAllBut({{185.0f, 146.0f, 215.0f, 162.0f}});
             out.push_back({185.0f, 146.0f, 215.0f, 162.0f});
             return out;
         }(),
         80.0f,
         {0}},
        {"without it the window is taken",
         {label(0, 200.0f, 200.0f)},
         keepOutAllBut({{185.0f, 146.0f, 215.0f, 162.0f}}),
         80.0f,
         {2}},
        {"a near window is found whatever the distance",
         {label(0, 200.0f, 200.0f)},
         keepOutAllBut({{185.0f, 146.0f, 215.0f, 162.0f}}),
         1e30f,
         {2}},
        {"a label in the way of the nearest point leaves the way to a corner",
         {label(0, 200.0f, 200.0f), label(1, 185.0f, 178.0f, 1.0f)},
         keepOutAllBut({{205.0f, 146.0f, 245.0f, 162.0f}, {185.0f, 171.0f, 215.0f, 178.0f}}),
         80.0f,
         {2, 1}},
    };
    const auto background = makePlainRectangle(400.0f);
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        LabelPlacementOptions options;
        options.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
        options.keepOut = scene.keepOut;
        options.calloutDistance = scene.distance;
        LabelPlacer placer(background, options);
        std::vector<PlacedLabel> placed;
        ASSERT_EQ(placeAndCheck(placer, scene.labels, background.get(), scene.distance, placed),
                  "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const int shown = !placed[i].visible ? 0 : (placed[i].callout ? 2 : 1);
            EXPECT_EQ(shown, scene.expected[i]) << "label " << i;
        }
    }
}

// Label 1 stood away to the left, beyond label 0, in the previous call and
// keeps that place; label 0's only place left is to the right, beyond
// label 1, where their leaders would cross: it stays hidden. Placed afresh,
// each takes the place on its own side.
TEST(LabelPlacerCalloutsTest, ACalloutKeepsItsPlaceAndLeadersNeverCross) {
    const LabelRect left{130.0f, 135.0f, 185.0f, 165.0f};
    const LabelRect right{245.0f, 135.0f, 310.0f, 165.0f};
    const auto background = makePlainRectangle(400.0f);
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
    options.calloutDistance = 80.0f;
    options.keepOut = keepOutAllBut({{left.left, left.top, right.right, left.bottom}});
    options.keepOut.push_back({left.right, left.top, right.left, left.bottom});
    options.keepOut.push_back(right);
    LabelPlacer placer(background, options);
    std::vector<PlacedLabel> placed;
    ASSERT_EQ(
        placeAndCheck(placer, {label(1, 230.0f, 200.0f, 1.0f)}, background.get(), 80.0f, placed),
        "");
    ASSERT_TRUE(placed[0].callout);
    ASSERT_LE(placed[0].bounds.right, left.right);
    const Vector<float, 3> offset = placed[0].offset;

    // The right place opens; below label 1's body the left one closes.
    options.keepOut.pop_back();
    options.keepOut.push_back({left.left, placed[0].bounds.bottom, left.right, left.bottom});
    placer.setOptions(options);
    const std::vector<LabelRequest> both = {label(0, 200.0f, 200.0f),
                                            label(1, 230.0f, 200.0f, 1.0f)};
    ASSERT_EQ(placeAndCheck(placer, both, background.get(), 80.0f, placed), "");
    ASSERT_TRUE(placed[1].callout);
    EXPECT_TRUE(VarnekTesting::sameBits(placed[1].offset, offset));
    EXPECT_FALSE(placed[0].visible);
    placer.forgetHistory();
    ASSERT_EQ(placeAndCheck(placer, both, background.get(), 80.0f, placed), "");
    EXPECT_TRUE(placed[0].callout && placed[1].callout);
}

// Every background's callout is its body alone (the outline for Center,
// without indicator points), the balloon's included.
TEST(LabelPlacerCalloutsTest, ACalloutsOutlineIsItsBodyAloneForEveryBackground) {
    const auto backgrounds = makeBackgrounds(400.0f);
    for (std::size_t b = 0; b < backgrounds.size(); ++b) {
        SCOPED_TRACE(b);
        LabelPlacementOptions options;
        options.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
        // Every place next to the anchor holds it, and so meets this.
        options.keepOut = {{199.0f, 199.0f, 201.0f, 201.0f}};
        options.calloutDistance = 60.0f;
        LabelPlacer placer(backgrounds[b], options);
        std::vector<PlacedLabel> placed;
        ASSERT_EQ(
            placeAndCheck(placer, {label(0, 200.0f, 200.0f)}, backgrounds[b].get(), 60.0f, placed),
            "");
        EXPECT_TRUE(placed[0].callout);
        std::vector<std::uint32_t> triangles;
        placer.appendTriangles(triangles, 0);
        EXPECT_FALSE(triangles.empty());
    }
}

// Seeded scenes of every background, priority mix, gap, obstacle rule and
// distance: every guarantee; the labels next to their anchors are those of
// a placement without callouts, bit for bit; the same call repeats bit for
// bit.
TEST(LabelPlacerCalloutsTest, RandomScenesKeepEveryGuaranteeAndRepeatBitForBit) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    std::size_t callouts = 0;
    for (unsigned int seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const std::vector<LabelRequest> labels =
            makeRandomScene(random, 80 + 8 * seed, viewport, backgrounds);
        const auto& background = backgrounds[seed % backgrounds.size()];
        LabelPlacementOptions options;
        options.viewport = viewport;
        options.gap = seed % 3 == 0 ? 2.0f : 0.0f;
        options.anchorsAreObstacles = seed % 4 != 1;
        options.lowerPriorityAnchorsAreObstacles = seed % 5 != 2;
        options.effort = static_cast<int>(seed % 3);
        if (seed % 2 == 0) {
            options.keepOut = {{100.0f, 100.0f, 180.0f, 160.0f}};
        }
        const std::vector<PlacedLabel> adjacent = LabelPlacer(background, options).place(labels);
        options.calloutDistance = 10.0f + 7.0f * static_cast<float>(seed % 6);
        LabelPlacer placer(background, options);
        std::vector<PlacedLabel> placed;
        std::vector<Vector<float, 3>> leaders;
        ASSERT_EQ(placeAndCheck(placer, labels, background.get(), options.calloutDistance, placed,
                                leaders),
                  "");
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (placed[i].callout) {
                ++callouts;
                EXPECT_EQ(adjacent[i].hiddenReason, LabelHiddenReason::NoRoom) << i;
            } else {
                EXPECT_EQ(hashOf({placed[i]}), hashOf({adjacent[i]})) << i;
            }
        }
        LabelPlacer fresh(background, options);
        EXPECT_EQ(hashOf(fresh.place(labels)), hashOf(placed));
        // A call whose requests differ (one more, out of contract) keeps a
        // callout where it was while that place stays free.
        std::vector<LabelRequest> again = labels;
        again.push_back(label(9999, std::numeric_limits<float>::quiet_NaN(), 0.0f));
        std::vector<PlacedLabel> next;
        std::vector<Vector<float, 3>> nextLeaders;
        ASSERT_EQ(placeAndCheck(placer, again, background.get(), options.calloutDistance, next,
                                nextLeaders),
                  "");
        std::size_t leader = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (!placed[i].callout) {
                continue;
            }
            const Vector<float, 3>& from = leaders[leader++];
            const Vector<float, 3>& to = leaders[leader++];
            bool free = next[i].callout;
            std::size_t other = 0;
            for (std::size_t j = 0; free && j < labels.size(); ++j) {
                free = j == i || !next[j].visible ||
                       (!VarnekTesting::overlapsWithGap(placed[i].bounds, next[j].bounds,
                                                        options.gap) &&
                        !VarnekTesting::segmentEntersRect(from, to, next[j].bounds));
                if (next[j].callout && j != i) {
                    free = free && !VarnekTesting::segmentsMeet(from, to, nextLeaders[other],
                                                                nextLeaders[other + 1]);
                }
                other += next[j].callout ? 2 : 0;
            }
            EXPECT_TRUE(!free || VarnekTesting::sameBits(next[i].offset, placed[i].offset)) << i;
        }
    }
    EXPECT_GT(callouts, 100u);
}

// A drifting scene through the 3D call (world x and y are view
// coordinates) with fades: every drawn label and leader keeps the
// guarantees in every frame, and the 3D call places as the 2D call does.
TEST(LabelPlacerCalloutsTest, FadesAndTheSceneCallKeepEveryGuarantee) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    LabelScene scene;
    scene.view.viewProjection = {};
    scene.view.viewProjection[0] = 2.0f / 400.0f;
    scene.view.viewProjection[12] = -1.0f;
    scene.view.viewProjection[5] = -2.0f / 300.0f;
    scene.view.viewProjection[13] = 1.0f;
    scene.view.viewProjection[15] = 1.0f;
    scene.view.viewport = viewport;
    std::mt19937 random(11);
    std::vector<LabelRequest> labels = makeRandomScene(random, 220, viewport, backgrounds);
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.calloutDistance = 40.0f;
    options.gap = 1.0f;
    LabelPlacer flat(backgrounds[0], options);
    LabelPlacer inScene(backgrounds[0], options);
    EXPECT_EQ(hashOf(inScene.place(labels, scene)), hashOf(flat.place(labels)));
    options.fadeFrames = 3;
    LabelPlacer fading(backgrounds[0], options);
    std::size_t callouts = 0;
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        const std::vector<PlacedLabel> placed = fading.place(labels, scene);
        std::vector<Vector<float, 3>> points;
        std::vector<std::uint32_t> starts;
        std::vector<Vector<float, 3>> leaders;
        fading.appendOutlines(points, starts);
        fading.appendLeaders(leaders);
        ASSERT_EQ(
            checkCallouts(labels, placed, backgrounds[0].get(), 40.0f, points, starts, leaders),
            "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            callouts += placed[i].callout ? 1 : 0;
            for (std::size_t j = i + 1; placed[i].visible && j < placed.size(); ++j) {
                ASSERT_FALSE(placed[j].visible && VarnekTesting::overlapsWithGap(
                                                      placed[i].bounds, placed[j].bounds, 1.0f))
                    << i << " " << j;
            }
        }
        for (LabelRequest& label : labels) {
            label.anchor[0] += frame < 6 ? 2.5f : -1.5f;
            label.anchor[1] += 1.0f;
        }
    }
    EXPECT_GT(callouts, 100u);
}

// Negative and NaN distances show no callouts; an infinite one, or one
// larger than the view, is the view's diagonal.
TEST(LabelPlacerCalloutsTest, DistancesOutOfRangeAreAnsweredAsDocumented) {
    const LabelRect viewport{0.0f, 0.0f, 300.0f, 400.0f};
    const auto backgrounds = makeBackgrounds(400.0f);
    std::mt19937 random(3);
    const std::vector<LabelRequest> labels = makeRandomScene(random, 300, viewport, backgrounds);
    LabelPlacementOptions options;
    options.viewport = viewport;
    const std::uint64_t none = hashOf(LabelPlacer(backgrounds[0], options).place(labels));
    for (const float distance : {-5.0f, std::numeric_limits<float>::quiet_NaN(),
                                 -std::numeric_limits<float>::infinity()}) {
        options.calloutDistance = distance;
        EXPECT_EQ(hashOf(LabelPlacer(backgrounds[0], options).place(labels)), none);
    }
    options.calloutDistance = 500.0f;
    const std::uint64_t diagonal = hashOf(LabelPlacer(backgrounds[0], options).place(labels));
    EXPECT_NE(diagonal, none);
    for (const float distance : {std::numeric_limits<float>::infinity(), 1e30f}) {
        options.calloutDistance = distance;
        LabelPlacer placer(backgrounds[0], options);
        std::vector<PlacedLabel> placed;
        ASSERT_EQ(placeAndCheck(placer, labels, backgrounds[0].get(), 500.0f, placed), "");
        EXPECT_EQ(hashOf(placed), diagonal);
    }
}

}  // namespace
}  // namespace Varnek
