// A uniform grid over the viewport: which cells a rectangle covers. The
// placer keeps the visible labels and the anchors in grids of this layout,
// so that a conflict search looks at the labels near a candidate only.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_UNIFORMGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_UNIFORMGRID_H

#include <cstddef>
#include <cstdint>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace internal {

// The cells [column0, column1] x [row0, row1].
struct CellRange {
    std::uint32_t column0;
    std::uint32_t row0;
    std::uint32_t column1;
    std::uint32_t row1;
};

class UniformGrid {
public:
    // Cells of about cellWidth x cellHeight over area (finite, not
    // inverted), made larger where more than maxCells would be needed, or
    // more than maxCellsPerAxis along an axis.
    void reset(const LabelRect& area, float cellWidth, float cellHeight, std::size_t maxCells,
               std::uint32_t maxCellsPerAxis = 0xFFFFFFFFu);

    std::size_t getCellCount() const {
        return static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows);
    }
    std::size_t getColumnCount() const { return m_columns; }
    // The most cells a rectangle of this size can touch.
    std::size_t getMaximalCellsTouched(float width, float height) const {
        return spanOf(width, m_inverseCellWidth, m_columns) *
               spanOf(height, m_inverseCellHeight, m_rows);
    }

    // Every cell the rectangle touches; coordinates outside the area, and
    // NaN, fall in the border cells. Monotonic, so two rectangles that share
    // a point share a cell.
    VARNEK_ALWAYS_INLINE CellRange getCells(const LabelRect& rect) const {
        return {columnOf(rect.left), rowOf(rect.top), columnOf(rect.right), rowOf(rect.bottom)};
    }
    std::size_t getCellIndex(std::uint32_t column, std::uint32_t row) const {
        return static_cast<std::size_t>(row) * m_columns + column;
    }
    std::size_t getCellIndexOfPoint(float x, float y) const {
        return getCellIndex(columnOf(x), rowOf(y));
    }

private:
    static std::size_t spanOf(float extent, float inverseCell, std::uint32_t count) {
        const float cells = extent * inverseCell + 2.0f;
        return cells < static_cast<float>(count) ? static_cast<std::size_t>(cells) : count;
    }
    // countAsFloat is count, converted once: the searches ask for many
    // indices.
    static std::uint32_t indexOf(float position, float origin, float inverseCell,
                                 std::uint32_t count, float countAsFloat) {
        const float t = (position - origin) * inverseCell;
        if (!(t > 0.0f)) {
            return 0;
        }
        if (t >= countAsFloat) {
            return count - 1;
        }
        return static_cast<std::uint32_t>(t);
    }
    std::uint32_t columnOf(float x) const {
        return indexOf(x, m_area.left, m_inverseCellWidth, m_columns, m_columnsAsFloat);
    }
    std::uint32_t rowOf(float y) const {
        return indexOf(y, m_area.top, m_inverseCellHeight, m_rows, m_rowsAsFloat);
    }

    LabelRect m_area{0.0f, 0.0f, 0.0f, 0.0f};
    float m_inverseCellWidth = 0.0f;
    float m_inverseCellHeight = 0.0f;
    std::uint32_t m_columns = 1;
    std::uint32_t m_rows = 1;
    float m_columnsAsFloat = 1.0f;
    float m_rowsAsFloat = 1.0f;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_UNIFORMGRID_H
