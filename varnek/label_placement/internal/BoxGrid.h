// Boxes by grid cell: a box is listed in every cell it touches, so that a
// search reads only the boxes near a rectangle. Nothing is allocated once
// the cells and the listings have grown. Private to the library's sources;
// not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_BOXGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_BOXGRID_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class BoxGrid {
public:
    // Empties the grid and takes the layout, with room for boxes boxes
    // listed in listings cells in all.
    void reset(const UniformGrid& layout, std::size_t boxes, std::size_t listings);

    // Adds a box; its index is the number of boxes before it.
    void insert(const LabelRect& box);
    // Takes the box added last out again.
    void removeLast();
    std::size_t size() const { return m_cells.size(); }

    // Calls visit(index) once for every box listed in a cell the rectangle
    // touches, in no particular order.
    template <typename Visit>
    void forEachNear(const LabelRect& rect, Visit&& visit) const {
        if (m_cells.empty()) {
            return;
        }
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
                for (std::uint32_t node = m_heads[m_layout.getCellIndex(column, row)];
                     node != s_end; node = m_nodes[node].next) {
                    const std::uint32_t box = m_nodes[node].box;
                    // Once, in the first cell the box and the rectangle
                    // share.
                    const CellRange& own = m_cells[box];
                    if (std::max(own.column0, cells.column0) == column &&
                        std::max(own.row0, cells.row0) == row) {
                        visit(static_cast<std::size_t>(box));
                    }
                }
            }
        }
    }

private:
    static constexpr std::uint32_t s_end = 0xFFFFFFFFu;
    struct Node {
        std::uint32_t box;
        std::uint32_t next;
    };

    UniformGrid m_layout;
    std::vector<std::uint32_t> m_heads;
    std::vector<Node> m_nodes;
    std::vector<CellRange> m_cells;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_BOXGRID_H
