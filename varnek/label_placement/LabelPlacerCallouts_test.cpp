#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using VarnekTesting::hashOf;
using VarnekTesting::label;
using VarnekTesting::makeBackgrounds;
using VarnekTesting::makePlainRectangle;
using VarnekTesting::makeRandomScene;
using Points = std::vector<Vector<float, 3>>;

const std::vector<LabelBackground::ReferencePoint> s_allCandidates(
    LabelPlacementOptions::defaultCandidates.begin(),
    LabelPlacementOptions::defaultCandidates.end());

// Places and checks every guarantee of the labels and of the callouts, and
// that every visible outline, a callout's body too, has its fill triangles;
// an empty string when all hold.
std::string placeAndCheck(LabelPlacer& placer, const std::vector<LabelRequest>& labels,
                          const LabelBackground* background, float distance,
                          std::vector<PlacedLabel>& placed, Points& leaders) {
    placed = placer.place(labels);
    Points points;
    std::vector<std::uint32_t> starts;
    std::vector<std::uint32_t> triangles;
    leaders.clear();
    placer.appendOutlines(points, starts);
    placer.appendTriangles(triangles, 0);
    placer.appendLeaders(leaders);
    std::vector<bool> filled(starts.size() - 1, false);
    for (const std::uint32_t index : triangles) {
        filled[static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), index) -
                                        starts.begin()) -
               1] = true;
    }
    if (std::find(filled.begin(), filled.end(), false) != filled.end()) {
        return "an outline lacks its fill triangles";
    }
    const std::string broken = VarnekTesting::checkGuarantees(labels, placed, placer.getOptions(),
                                                              background, s_allCandidates);
    return !broken.empty() ? broken
                           : VarnekTesting::checkCallouts(labels, placed, background, distance,
                                                          points, starts, leaders);
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

TEST(LabelPlacerCalloutsTest, HandMadeScenesGetTheirCallouts) {
    // Too wide for the view: hidden, its anchor still an obstacle.
    const auto wide = [](LabelRequest request) {
        request.size[0] = 1000.0f;
        return request;
    };
    const LabelRect window{185.0f, 146.0f, 215.0f, 162.0f};
    struct Scene {
        const char* name;
        std::vector<LabelRequest> labels;
        std::vector<LabelRect> keepOut;
        float distance;
        // Per label: 0 hidden, 1 next to its anchor, 2 a callout.
        std::vector<int> expected;
    };
    const std::vector<Scene> scenes = {
        {"a label boxed in by four neighbours' anchors stands away",
         {label(0, 200.0f, 200.0f), wide(label(1, 197.0f, 197.0f)), wide(label(2, 203.0f, 197.0f)),
          wide(label(3, 197.0f, 203.0f)), wide(label(4, 203.0f, 203.0f))},
         {},
         42.0f,
         {2, 0, 0, 0, 0}},
        {"a leader passing a third anchor is no leader: that label takes the window",
         {label(0, 200.0f, 200.0f, 1.0f), label(1, 200.0f, 199.8f)},
         keepOutAllBut({window}),
         80.0f,
         {0, 2}},
        {"a keep-out rectangle on the only free place",
         {label(0, 200.0f, 200.0f)},
         [&] {
             std::vector<LabelRect> out = keepOutAllBut({window});
             out.push_back(window);
             return out;
         }(),
         80.0f,
         {0}},
        {"a near window is found whatever the distance",
         {label(0, 200.0f, 200.0f)},
         keepOutAllBut({window}),
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
        Points leaders;
        ASSERT_EQ(
            placeAndCheck(placer, scene.labels, background.get(), scene.distance, placed, leaders),
            "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(!placed[i].visible ? 0 : (placed[i].callout ? 2 : 1), scene.expected[i])
                << "label " << i;
        }
    }
}

// Label 1 stood away to the left, beyond label 0, in the previous call and
// keeps that place; label 0's only place left is to the right, beyond
// label 1, where their leaders would cross: it stays hidden. Placed afresh,
// each takes the place on its own side. A kept place is not taken by a
// label of the same priority that searches anew.
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
    Points leaders;
    ASSERT_EQ(placeAndCheck(placer, {label(1, 230.0f, 200.0f, 1.0f)}, background.get(), 80.0f,
                            placed, leaders),
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
    ASSERT_EQ(placeAndCheck(placer, both, background.get(), 80.0f, placed, leaders), "");
    ASSERT_TRUE(placed[1].callout);
    EXPECT_TRUE(VarnekTesting::sameBits(placed[1].offset, offset));
    EXPECT_FALSE(placed[0].visible);
    placer.forgetHistory();
    ASSERT_EQ(placeAndCheck(placer, both, background.get(), 80.0f, placed, leaders), "");
    EXPECT_TRUE(placed[0].callout && placed[1].callout);

    // Of one priority, label 0 comes first but its place closes: its search
    // does not take the window that label 1's callout keeps.
    const LabelRect above{185.0f, 146.0f, 215.0f, 162.0f};
    const LabelRect beside{230.0f, 200.0f, 275.0f, 216.0f};
    const std::vector<LabelRequest> pair = {label(0, 200.0f, 200.0f), label(1, 200.0f, 250.0f)};
    options.keepOut = keepOutAllBut({above});
    LabelPlacer keeper(background, options);
    ASSERT_EQ(placeAndCheck(keeper, {pair[0]}, background.get(), 80.0f, placed, leaders), "");
    options.keepOut = keepOutAllBut({above, beside});
    keeper.setOptions(options);
    ASSERT_EQ(placeAndCheck(keeper, pair, background.get(), 80.0f, placed, leaders), "");
    ASSERT_TRUE(placed[0].callout && placed[1].callout);
    const Vector<float, 3> kept = placed[1].offset;
    options.keepOut.push_back(above);
    keeper.setOptions(options);
    ASSERT_EQ(placeAndCheck(keeper, pair, background.get(), 80.0f, placed, leaders), "");
    EXPECT_FALSE(placed[0].visible);
    EXPECT_TRUE(placed[1].callout && VarnekTesting::sameBits(placed[1].offset, kept));
}

// Seeded scenes of every background, priority mix, gap, obstacle rule and
// distance: every guarantee; the labels next to their anchors are those of
// a placement without callouts, bit for bit; the same call repeats bit for
// bit; a call whose requests differ (one more, out of contract) keeps a
// callout where it was while that place stays free. A negative or NaN
// distance shows no callouts; an infinite one, or one longer than the
// view's diagonal (500), is the diagonal.
TEST(LabelPlacerCalloutsTest, RandomScenesKeepEveryGuaranteeAndRepeatBitForBit) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    const float infinity = std::numeric_limits<float>::infinity();
    const float distances[] = {10.0f,    17.0f, 24.0f,
                               31.0f,    38.0f, 45.0f,
                               infinity, -5.0f, std::numeric_limits<float>::quiet_NaN(),
                               1e30f};
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
        const float given = distances[seed % 10];
        const float distance = given > 500.0f ? 500.0f : (given > 0.0f ? given : 0.0f);
        options.calloutDistance = given;
        LabelPlacer placer(background, options);
        std::vector<PlacedLabel> placed;
        Points leaders;
        ASSERT_EQ(placeAndCheck(placer, labels, background.get(), distance, placed, leaders), "");
        for (std::size_t i = 0; i < labels.size(); ++i) {
            callouts += placed[i].callout ? 1 : 0;
            EXPECT_TRUE(placed[i].callout ? distance > 0.0f && adjacent[i].hiddenReason ==
                                                                   LabelHiddenReason::NoRoom
                                          : hashOf({placed[i]}) == hashOf({adjacent[i]}))
                << i;
        }
        EXPECT_EQ(hashOf(LabelPlacer(background, options).place(labels)), hashOf(placed));
        options.calloutDistance = distance;
        EXPECT_EQ(hashOf(LabelPlacer(background, options).place(labels)), hashOf(placed));
        std::vector<LabelRequest> again = labels;
        again.push_back(label(9999, std::numeric_limits<float>::quiet_NaN(), 0.0f));
        std::vector<PlacedLabel> next;
        Points nextLeaders;
        ASSERT_EQ(placeAndCheck(placer, again, background.get(), distance, next, nextLeaders), "");
        for (std::size_t i = 0, leader = 0; i < labels.size(); ++i) {
            if (!placed[i].callout) {
                continue;
            }
            const Vector<float, 3>& from = leaders[leader++];
            const Vector<float, 3>& to = leaders[leader++];
            bool free = next[i].callout;
            for (std::size_t j = 0, other = 0; free && j < labels.size(); ++j) {
                free = j == i || !next[j].visible ||
                       (!VarnekTesting::overlapsWithGap(placed[i].bounds, next[j].bounds,
                                                        options.gap) &&
                        !VarnekTesting::segmentEntersRect(from, to, next[j].bounds));
                free = free && (j == i || !next[j].callout ||
                                !VarnekTesting::segmentsMeet(from, to, nextLeaders[other],
                                                             nextLeaders[other + 1]));
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
    // Over moving frames, so that the history matters.
    std::vector<LabelRequest> moving = labels;
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(hashOf(inScene.place(moving, scene)), hashOf(flat.place(moving)));
        for (LabelRequest& request : moving) {
            request.anchor[0] = std::fmod(request.anchor[0] + 3.0f, 400.0f);
        }
    }
    options.fadeFrames = 3;
    LabelPlacer fading(backgrounds[0], options);
    std::size_t callouts = 0;
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        const std::vector<PlacedLabel> placed = fading.place(labels, scene);
        Points points;
        std::vector<std::uint32_t> starts;
        Points leaders;
        fading.appendOutlines(points, starts);
        fading.appendLeaders(leaders);
        ASSERT_EQ(VarnekTesting::checkCallouts(labels, placed, backgrounds[0].get(), 40.0f, points,
                                               starts, leaders),
                  "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            callouts += placed[i].callout ? 1 : 0;
            for (std::size_t j = i + 1; placed[i].visible && j < placed.size(); ++j) {
                ASSERT_FALSE(placed[j].visible && VarnekTesting::overlapsWithGap(
                                                      placed[i].bounds, placed[j].bounds, 1.0f))
                    << i << " " << j;
            }
        }
        for (LabelRequest& request : labels) {
            request.anchor[0] += frame < 6 ? 2.5f : -1.5f;
            request.anchor[1] += 1.0f;
        }
    }
    EXPECT_GT(callouts, 100u);
}

}  // namespace
}  // namespace Varnek
