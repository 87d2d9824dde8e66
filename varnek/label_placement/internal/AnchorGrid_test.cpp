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

// A cell of many points is read while its points' bounds are worth it: asked
// before its first point and again after every few points.
TEST(AnchorGrid, AsksWhetherACellOfManyPointsIsWorthReadingGivenTheirBounds) {
    UniformGrid layout;
    layout.reset({0, 0, 100, 60}, 10, 10, 1000);
    // 40 points on a line in one cell, each shared by two labels, and one
    // point alone in the next cell.
    std::vector<float> x(80, 50.0f);
    std::vector<float> y;
    for (int i = 0; i < 40; ++i) {
        const float at = 31.0f + 0.1f * static_cast<float>(i);
        y.insert(y.end(), {at, at});
    }
    x.push_back(61.0f);
    y.push_back(35.0f);
    const std::vector<std::uint8_t> listed(x.size(), 1);
    AnchorGrid grid;
    grid.build(layout, x.data(), y.data(), listed.data(), x.size());
    struct Case {
        std::size_t yeses;  // asks answered yes, then no
        std::size_t asks;
        std::size_t points;
    };
    constexpr std::size_t between = AnchorGrid::s_pointsBetweenAsks;
    for (const Case& c : {Case{0, 1, 1}, Case{1, 2, 1 + between}, Case{99, 40 / between, 41}}) {
        std::size_t asked = 0;
        std::size_t read = 0;
        grid.forEachPointNear(
            {40, 25, 70, 40},
            [&](const LabelRect& bounds) {
                EXPECT_TRUE(bounds.left == 50.0f && bounds.top == y.front() &&
                            bounds.right == 50.0f && bounds.bottom == y[79]);
                return ++asked <= c.yeses;
            },
            [&](float, float, std::uint32_t) { return ++read == 0; });
        EXPECT_EQ(asked, c.asks);
        EXPECT_EQ(read, c.points);
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
