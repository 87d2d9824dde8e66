#include <varnek/label_placement/internal/AnchorGrid.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

TEST(AnchorGrid, ListsTheListedAnchorsOfARectangleInCellThenLabelOrder) {
    UniformGrid layout;
    layout.reset({0, 0, 100, 60}, 9, 9, 1000);
    std::mt19937 random(4u);
    // Whole numbers, so that anchors fall on the rectangles' edges.
    std::uniform_int_distribution<int> position(-5, 105);
    std::vector<float> x;
    std::vector<float> y;
    std::vector<std::uint8_t> listed;
    for (int i = 0; i < 400; ++i) {
        x.push_back(static_cast<float>(position(random)));
        y.push_back(static_cast<float>(position(random)) * 0.6f);
        listed.push_back(i % 5 != 0);
    }
    AnchorGrid grid;
    grid.build(layout, x.data(), y.data(), listed.data(), x.size());
    for (int search = 0; search < 200; ++search) {
        const auto left = static_cast<float>(position(random));
        const auto top = static_cast<float>(position(random)) * 0.6f;
        const LabelRect rect{left, top, left + 20.0f, top + 15.0f};
        std::vector<std::uint32_t> found;
        grid.forEachIn(rect, [&](std::uint32_t label) { found.push_back(label); });
        std::vector<std::uint32_t> expected;
        for (std::uint32_t i = 0; i < x.size(); ++i) {
            if (listed[i] != 0 && rect.left <= x[i] && x[i] <= rect.right && rect.top <= y[i] &&
                y[i] <= rect.bottom) {
                expected.push_back(i);
            }
        }
        // In cell order (row by row), then label order.
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            return layout.getCellIndexOfPoint(x[a], y[a]) < layout.getCellIndexOfPoint(x[b], y[b]);
        });
        ASSERT_EQ(found, expected);
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
