#include <varnek/label_placement/internal/UniformGrid.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

TEST(UniformGrid, CoarsensToTheCapsAndKeepsTheAspect) {
    struct Case {
        const char* what;
        LabelRect area;
        float cellWidth;
        float cellHeight;
        std::size_t maxCells;
        std::uint32_t maxCellsPerAxis;
        std::size_t columns;
        std::size_t cells;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::uint32_t any = 0xFFFFFFFFu;
    const Case cases[] = {
        {"cells as asked", {0, 0, 100, 50}, 10, 10, 1000, any, 10, 50},
        {"both axes coarsened alike", {0, 0, 100, 100}, 1, 1, 25, any, 5, 25},
        {"one axis at one cell, the other to the limit", {0, 0, 1000, 1}, 1, 1, 10, any, 10, 10},
        {"the cap per axis", {0, 0, 1e6f, 1}, 1, 1, 1u << 24, 0xFFFFu, 0xFFFF, 0xFFFF},
        {"no cell size", {0, 0, 100, 100}, 0, 0, 1000, any, 1, 1},
        {"NaN cell size", {0, 0, 100, 100}, nan, 1, 1000, any, 1, 100},
        {"an empty area", {5, 5, 5, 5}, 1, 1, 1000, any, 1, 1},
        {"no room at all", {0, 0, 100, 100}, 1, 1, 0, any, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UniformGrid grid;
        grid.reset(c.area, c.cellWidth, c.cellHeight, c.maxCells, c.maxCellsPerAxis);
        EXPECT_EQ(grid.getColumnCount(), c.columns);
        EXPECT_EQ(grid.getCellCount(), c.cells);
    }
}

TEST(UniformGrid, RectanglesThatSharePointsShareCellsAndStayWithinTheBound) {
    UniformGrid grid;
    grid.reset({0, 0, 200, 100}, 7, 5, 1000);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Outside the area and NaN fall in the border cells.
    const CellRange outside = grid.getCells({-50, -50, 1e9f, nan});
    EXPECT_EQ(outside.column0, 0u);
    EXPECT_EQ(outside.row0, 0u);
    EXPECT_EQ(outside.column1, grid.getColumnCount() - 1);
    EXPECT_EQ(outside.row1, 0u);

    std::mt19937 random(3u);
    std::uniform_real_distribution<float> position(-10.0f, 210.0f);
    std::uniform_real_distribution<float> extent(0.0f, 30.0f);
    for (int n = 0; n < 2000; ++n) {
        const float x = position(random);
        const float y = position(random) / 2.0f;
        const float w = extent(random);
        const float h = extent(random);
        const CellRange cells = grid.getCells({x, y, x + w, y + h});
        const std::size_t touched = (cells.column1 - cells.column0 + 1) *
                                    static_cast<std::size_t>(cells.row1 - cells.row0 + 1);
        ASSERT_LE(touched, grid.getMaximalCellsTouched(w, h));
        // A point of the rectangle lies in one of its cells.
        const std::size_t column = grid.getCellIndexOfPoint(x + w / 2, y) % grid.getColumnCount();
        ASSERT_GE(column, cells.column0);
        ASSERT_LE(column, cells.column1);
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
