#include <varnek/label_placement/LabelPlacer.h>

#include <cstddef>
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
        ASSERT_EQ(VarnekTesting::placeAndCheck(placer, scene.labels, background.get(),
                                               scene.distance, placed, leaders),
                  "");
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(!placed[i].visible ? 0 : (placed[i].callout ? 2 : 1), scene.expected[i])
                << "label " << i;
        }
    }
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

}  // namespace
}  // namespace Varnek
