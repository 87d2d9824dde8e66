#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using VarnekTesting::label;
using VarnekTesting::makePlainRectangle;
using Points = std::vector<Vector<float, 3>>;

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
    const auto backgrounds = VarnekTesting::makeBackgrounds(400.0f);
    const auto shaped = [&](LabelRequest request, float width, float height, std::size_t kind) {
        request.size = {width, height, 0.0f};
        request.background = backgrounds[kind].get();
        return request;
    };
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
        {"a leader of a body of no width, with no gap, passes no anchor even exactly",
         {shaped(label(0, 203.0f, 203.0f, 1.0f), 10.0f, 4.0f, 0),
          shaped(label(1, 206.0f, 192.0f), 0.0f, 8.0f, 2),
          shaped(label(2, 207.0f, 192.0f), 0.0f, 7.0f, 1),
          shaped(label(3, 201.0f, 208.0f, 1.0f), 6.0f, 2.0f, 0),
          shaped(label(4, 209.0f, 203.0f, 1.0f), 0.0f, 6.0f, 0)},
         {},
         26.0f,
         {1, 2, 1, 1, 1}},
        {"boxed in at the edge, an anchor just outside the view too near: no leader",
         {label(0, 399.95f, 200.0f), wide(label(1, 396.95f, 197.0f)),
          wide(label(2, 396.95f, 203.0f)), wide(label(3, 400.05f, 200.0f))},
         {},
         42.0f,
         {0, 0, 0, 0}},
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
        ASSERT_EQ(VarnekTesting::placeAndCheck(placer, scene.labels, background.get(),
                                               scene.distance, placed, leaders),
                  "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(!placed[i].visible ? 0 : (placed[i].callout ? 2 : 1), scene.expected[i])
                << "label " << i;
        }
    }
}

// Labels crowding a speck, hundreds at each point: each leader would pass
// another anchor too near, so none is searched for place by place against
// every anchor there (hours for these), and those shown are the labels of
// the call without callouts.
TEST(LabelPlacerCalloutsTest, ManyLabelsCrowdingAPointSearchNoCallout) {
    std::vector<LabelRequest> pile;
    for (std::uint64_t key = 0; key < 100000; ++key) {
        const float x = 200.0f + static_cast<float>(key % 300) / 1024.0f;
        pile.push_back(label(key, x, 200.0f, static_cast<float>(key % 3)));
    }
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
    const auto background = makePlainRectangle(400.0f);
    const std::uint64_t without =
        VarnekTesting::hashOf(LabelPlacer(background, options).place(pile));
    options.calloutDistance = 60.0f;
    EXPECT_EQ(VarnekTesting::hashOf(LabelPlacer(background, options).place(pile)), without);
}

// Of one priority, label 0 comes first, but its place of the previous call
// closes: its search does not take the window that label 1's callout kept.
TEST(LabelPlacerCalloutsTest, ACalloutKeepsItsPlaceFromALabelOfItsPrioritySearchingAnew) {
    const auto background = makePlainRectangle(400.0f);
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
    options.calloutDistance = 80.0f;
    const LabelRect above{185.0f, 146.0f, 215.0f, 162.0f};
    const LabelRect beside{230.0f, 200.0f, 275.0f, 216.0f};
    const std::vector<LabelRequest> pair = {label(0, 200.0f, 200.0f), label(1, 200.0f, 250.0f)};
    options.keepOut = keepOutAllBut({above});
    LabelPlacer placer(background, options);
    std::vector<PlacedLabel> placed;
    Points leaders;
    ASSERT_EQ(
        VarnekTesting::placeAndCheck(placer, {pair[0]}, background.get(), 80.0f, placed, leaders),
        "");
    options.keepOut = keepOutAllBut({above, beside});
    placer.setOptions(options);
    ASSERT_EQ(VarnekTesting::placeAndCheck(placer, pair, background.get(), 80.0f, placed, leaders),
              "");
    ASSERT_TRUE(placed[0].callout && placed[1].callout);
    const Vector<float, 3> kept = placed[1].offset;
    options.keepOut.push_back(above);
    placer.setOptions(options);
    ASSERT_EQ(VarnekTesting::placeAndCheck(placer, pair, background.get(), 80.0f, placed, leaders),
              "");
    EXPECT_FALSE(placed[0].visible);
    EXPECT_TRUE(placed[1].callout && VarnekTesting::sameBits(placed[1].offset, kept));
}

// Label 0 is boxed in by its neighbours' anchors and stands above them as
// a callout; frame by frame its anchor and theirs are in view (v) or
// occluded (o), and in frame m label 5, drawn in place far away, moves
// onto the leader. The callout fades in, fades out with its leader where
// it stood, saying why it goes, comes back from its opacity at the same
// place when its anchor does, and goes at once when a label drawn in place
// takes its leader's way (that label stays) or its request is resized; in
// frame a it steps back from an anchor come into view under its body.
// Label 6, boxed in like label 0, comes while it fades: its callout keeps
// off the fading leader (its first place would hold it). Where its first place was
// kept out while it was placed (and is free when it comes back), it keeps
// the place it is drawn at.
TEST(LabelPlacerCalloutsTest, ACalloutFadesOutWithItsLeaderUntilADrawnLabelTakesItsWay) {
    struct Case {
        std::string script;
        std::vector<float> opacities;
        // Kept out in the first four frames.
        std::vector<LabelRect> keepOut;
    };
    const Case cases[] = {
        {"vvvvoovom", {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.75f, 0.5f, 0.0f}, {}},
        {"vvvvoovv",
         {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.75f, 1.0f},
         {{199.0f, 150.0f, 201.0f, 194.0f}}},
        // Resized while it fades: its leader would end off the new body.
        {"vvvvos", {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.0f}, {}},
        // Back in view with an anchor under its body: it steps back.
        {"vvvvoa", {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f}, {}},
    };
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 400.0f};
    const auto background = makePlainRectangle(400.0f);
    // Far everywhere but round the five anchors.
    std::vector<float> depths(std::size_t{400} * 400, 1.0f);
    for (std::size_t row = 195; row < 206; ++row) {
        for (std::size_t column = 195; column < 206; ++column) {
            depths[row * 400 + column] = 0.0f;
        }
    }
    const DepthImage occluding{depths.data(), 400, 400, false, 0.0f};
    LabelScene scene;
    scene.view = VarnekTesting::flatView(viewport);
    for (const Case& c : cases) {
        LabelPlacementOptions options;
        options.viewport = viewport;
        options.calloutDistance = 42.0f;
        options.fadeFrames = 4;
        options.keepOut = c.keepOut;
        LabelPlacer placer(background, options);
        std::vector<LabelRequest> labels;
        const auto addBoxedIn = [&labels](float x, float y) {
            labels.push_back(label(labels.size(), x, y));
            for (const float dx : {-3.0f, 3.0f}) {
                for (const float dy : {-3.0f, 3.0f}) {
                    labels.push_back(label(labels.size(), x + dx, y + dy));
                    labels.back().size[0] = 1000.0f;
                }
            }
        };
        addBoxedIn(200.0f, 200.0f);
        labels.push_back(label(5, 100.0f, 300.0f));
        Points drawnLeader;
        Vector<float, 3> offset{};
        for (std::size_t f = 0; f < c.script.size(); ++f) {
            SCOPED_TRACE(::testing::Message() << c.script << ", frame " << f);
            scene.depth = c.script[f] == 'v' || c.script[f] == 'a' ? nullptr : &occluding;
            if (f == 4) {
                options.keepOut.clear();
                placer.setOptions(options);
                addBoxedIn(185.0f, 205.0f);
            }
            if (c.script[f] == 'a') {
                // A label with no room whose anchor lies in the body.
                labels.push_back(label(labels.size(), 205.0f, 190.0f));
                labels.back().size[0] = 1000.0f;
            }
            if (c.script[f] == 's') {
                labels[0].size = {10.0f, 3.0f, 0.0f};
            }
            if (c.script[f] == 'm') {
                // Its top right body [190, 220] x [194, 201] holds the
                // leader's middle and the occluded anchors, off the body.
                labels[5].anchor = {190.0f, 201.0f, 0.0f};
            }
            const std::vector<PlacedLabel> placed = placer.place(labels, scene);
            Points points;
            std::vector<std::uint32_t> starts;
            Points leaders;
            placer.appendOutlines(points, starts);
            placer.appendLeaders(leaders);
            ASSERT_EQ(VarnekTesting::checkOutlinesAndCallouts(labels, placed, background.get(),
                                                              42.0f, 0.0f, points, starts, leaders),
                      "");
            const PlacedLabel& callout = placed[0];
            EXPECT_EQ(callout.opacity, c.opacities[f]);
            EXPECT_EQ(placed[5].opacity, std::min(0.25f * static_cast<float>(f + 1), 1.0f));
            EXPECT_TRUE(f != 4 || (placed[6].callout && placed[6].opacity == 0.25f));
            // Label 0's leader comes first, if drawn.
            const bool firstFromLabel0 =
                !leaders.empty() && leaders[0][0] == 200.0f && leaders[0][1] == 200.0f;
            EXPECT_EQ(firstFromLabel0, callout.visible);
            if (!callout.visible) {
                continue;
            }
            EXPECT_TRUE(callout.callout);
            EXPECT_EQ(callout.hiddenReason, c.script[f] == 'o'   ? LabelHiddenReason::Occluded
                                            : c.script[f] == 'a' ? LabelHiddenReason::PlaceTaken
                                                                 : LabelHiddenReason::None);
            if (f == 0) {
                // Straight up to the body, which ends above y = 194, or
                // elsewhere when that is kept out.
                ASSERT_EQ(leaders[1][0] == 200.0f && leaders[1][1] > 193.0f &&
                              callout.bounds.bottom < 194.0f,
                          c.keepOut.empty());
                drawnLeader = leaders;
            }
            EXPECT_TRUE(VarnekTesting::sameBits(leaders[0], drawnLeader[0]) &&
                        VarnekTesting::sameBits(leaders[1], drawnLeader[1]));
            EXPECT_TRUE(f == 0 || VarnekTesting::sameBits(callout.offset, offset));
            offset = callout.offset;
        }
    }
}

}  // namespace
}  // namespace Varnek
