#include <varnek/label_placement/internal/VisibleLabelGrid.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

UniformGrid layoutOf(const LabelRect& area, float cell) {
    UniformGrid layout;
    layout.reset(area, cell, cell, 1000);
    return layout;
}

bool shareCells(const CellRange& a, const CellRange& b) {
    return a.column0 <= b.column1 && b.column0 <= a.column1 && a.row0 <= b.row1 && b.row0 <= a.row1;
}

// Random labels, many to a cell (so that cells overflow), a third of them
// removed again: every search visits each label listed in its cells once.
TEST(VisibleLabelGrid, EveryLabelNearASearchIsVisitedOnce) {
    const UniformGrid layout = layoutOf({0, 0, 100, 80}, 7);
    VisibleLabelGrid grid;
    grid.reset(layout, 4096);
    std::mt19937 random(9u);
    std::uniform_real_distribution<float> position(-5.0f, 105.0f);
    std::uniform_real_distribution<float> extent(0.0f, 25.0f);
    const auto randomRect = [&] {
        const float x = position(random);
        const float y = position(random);
        return LabelRect{x, y, x + extent(random), y + extent(random)};
    };
    std::vector<LabelRect> rects;
    std::vector<bool> shown;
    for (std::uint32_t label = 0; label < 200; ++label) {
        rects.push_back(randomRect());
        grid.insert(label, rects.back());
        shown.push_back(true);
    }
    for (std::uint32_t label = 0; label < 200; label += 3) {
        grid.remove(label, rects[label]);
        shown[label] = false;
    }
    for (int search = 0; search < 300; ++search) {
        const LabelRect area = randomRect();
        const CellRange cells = layout.getCells(area);
        std::map<std::uint32_t, int> first;
        std::map<std::uint32_t, int> listings;
        grid.forEachInCells(area, [&](const VisibleLabelGrid::Entry& e, bool isFirst) {
            ++listings[e.label];
            first[e.label] += isFirst ? 1 : 0;
        });
        std::map<std::uint32_t, int> any;
        grid.anyLabelInCells(area, [&](const VisibleLabelGrid::Entry& e) {
            ++any[e.label];
            return false;
        });
        std::map<std::uint32_t, int> expected;
        for (std::uint32_t label = 0; label < rects.size(); ++label) {
            if (shown[label] && shareCells(layout.getCells(rects[label]), cells)) {
                expected[label] = 1;
            }
        }
        ASSERT_EQ(first, expected);
        ASSERT_EQ(any, expected);
        for (const auto& [label, count] : listings) {
            ASSERT_GE(count, 1);
            ASSERT_EQ(expected.count(label), 1u) << label;
        }
    }
    // A search stops at the first label its visitor accepts.
    int visits = 0;
    EXPECT_TRUE(grid.anyLabelInCells(
        {0, 0, 100, 80}, [&](const VisibleLabelGrid::Entry&) { return ++visits == 2; }));
    EXPECT_EQ(visits, 2);
}

#if defined(VARNEK_ENABLE_ASSERTS)
TEST(VisibleLabelGridDeathTest, RemovingALabelThatIsNotListedFailsTheCheck) {
    VisibleLabelGrid grid;
    grid.reset(layoutOf({0, 0, 100, 100}, 10), 16);
    grid.insert(1, {1, 1, 2, 2});
    EXPECT_DEATH(grid.remove(2, {1, 1, 2, 2}), "internal check failed");
}
#endif

}  // namespace
}  // namespace internal
}  // namespace Varnek
