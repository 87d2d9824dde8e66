// The visible labels by grid cell: a label is listed in every cell its
// rectangle touches. Cells are singly linked lists in one pool of nodes, so
// adding and removing labels allocates nothing once the pool has grown.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class VisibleLabelGrid {
public:
    static constexpr std::uint32_t s_end = 0xFFFFFFFFu;

    // Empties the grid and takes the layout.
    void reset(const UniformGrid& layout);
    const UniformGrid& getLayout() const { return m_layout; }

    void insert(std::uint32_t label, const LabelRect& rect);
    void remove(std::uint32_t label, const LabelRect& rect);

    // Calls visit(label) for every label listed in a cell the rectangle
    // touches, as often as it is listed there, until visit returns true;
    // returns whether one did.
    template <typename Visit>
    bool anyInCells(const LabelRect& rect, Visit&& visit) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
                for (std::uint32_t node = m_heads[m_layout.getCellIndex(column, row)];
                     node != s_end; node = m_nodes[node].next) {
                    if (visit(m_nodes[node].label)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

private:
    struct Node {
        std::uint32_t label;
        std::uint32_t next;
    };

    UniformGrid m_layout;
    std::vector<std::uint32_t> m_heads;
    std::vector<Node> m_nodes;
    std::uint32_t m_free = s_end;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H
