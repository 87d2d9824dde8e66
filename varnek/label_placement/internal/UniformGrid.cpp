#include <varnek/label_placement/internal/UniformGrid.h>

#include <algorithm>
#include <cmath>

#include <varnek/label_placement/internal/Assert.h>

namespace Varnek {
namespace internal {
namespace {

// How many cells of the given size cover extent, at least 1, in double so
// that huge ratios neither overflow nor lose the bound.
double cellsAlong(double extent, double cell) {
    if (!(cell > 0.0) || !(extent > 0.0)) {
        return 1.0;
    }
    return std::max(1.0, std::ceil(extent / cell));
}

}  // namespace

void UniformGrid::reset(const LabelRect& area, float cellWidth, float cellHeight,
                        std::size_t maxCells, std::uint32_t maxCellsPerAxis) {
    m_area = area;
    const double width = static_cast<double>(area.right) - static_cast<double>(area.left);
    const double height = static_cast<double>(area.bottom) - static_cast<double>(area.top);
    double columns = cellsAlong(width, static_cast<double>(cellWidth));
    double rows = cellsAlong(height, static_cast<double>(cellHeight));
    const double limit = static_cast<double>(std::max<std::size_t>(maxCells, 1));
    if (columns * rows > limit) {
        // Coarsen both axes by the same factor, then make sure of the limit.
        const double factor = std::sqrt(columns * rows / limit);
        columns = std::max(1.0, std::floor(columns / factor));
        rows = std::max(1.0, std::floor(rows / factor));
        // An axis held at one cell leaves the whole limit to the other.
        if (columns * rows > limit) {
            if (columns >= rows) {
                columns = std::max(1.0, std::floor(limit / rows));
            } else {
                rows = std::max(1.0, std::floor(limit / columns));
            }
        }
    }
    columns = std::min(columns, static_cast<double>(maxCellsPerAxis));
    rows = std::min(rows, static_cast<double>(maxCellsPerAxis));
    m_columns = static_cast<std::uint32_t>(columns);
    m_rows = static_cast<std::uint32_t>(rows);
    m_columnsAsFloat = static_cast<float>(m_columns);
    m_rowsAsFloat = static_cast<float>(m_rows);
    m_inverseCellWidth = width > 0.0 ? static_cast<float>(columns / width) : 0.0f;
    m_inverseCellHeight = height > 0.0 ? static_cast<float>(rows / height) : 0.0f;
    VARNEK_ASSERT(m_columns >= 1 && m_rows >= 1 && m_columns <= maxCellsPerAxis &&
                  m_rows <= maxCellsPerAxis &&
                  getCellCount() <= std::max<std::size_t>(maxCells, 1));
}

}  // namespace internal
}  // namespace Varnek
