// The visible labels by grid cell: a label is listed, with its rectangle, in
// every cell its rectangle touches, so that a conflict search reads the few
// entries of the cells a candidate touches one after another. A cell holds
// a few entries in place and the rest in a pool of linked nodes; nothing is
// allocated once the cells and the pool have grown. Private to the library's
// sources; not installed.
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
    struct Entry {
        LabelRect rect;
        std::uint32_t label;
    };

    // Empties the grid and takes the layout, with room for entries
    // listings of labels in cells without allocating.
    void reset(const UniformGrid& layout, std::size_t entries);
    const UniformGrid& getLayout() const { return m_layout; }

    void insert(std::uint32_t label, const LabelRect& rect);
    // rect must be the one the label was inserted with.
    void remove(std::uint32_t label, const LabelRect& rect);

    // Calls visit(entry) for every entry of every cell the rectangle
    // touches (a label once per cell it is listed in, in no particular
    // order) until visit returns true; returns whether one did.
    template <typename Visit>
    bool anyInCells(const LabelRect& rect, Visit&& visit) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
                const Cell& cell = m_cells[m_layout.getCellIndex(column, row)];
                for (std::uint32_t e = 0; e < cell.count; ++e) {
                    if (visit(cell.entries[e])) {
                        return true;
                    }
                }
                for (std::uint32_t node = cell.overflow; node != s_end; node = m_nodes[node].next) {
                    if (visit(m_nodes[node].entry)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

private:
    static constexpr std::uint32_t s_end = 0xFFFFFFFFu;
    static constexpr std::uint32_t s_entriesInPlace = 6;

    // Overflow entries exist only while the entries in place are full.
    struct Cell {
        std::uint32_t count;
        std::uint32_t overflow;
        Entry entries[s_entriesInPlace];
    };
    struct Node {
        Entry entry;
        std::uint32_t next;
    };

    void insertInCell(Cell& cell, const Entry& entry);
    void removeFromCell(Cell& cell, std::uint32_t label);

    UniformGrid m_layout;
    std::vector<Cell> m_cells;
    std::vector<Node> m_nodes;
    std::uint32_t m_free = s_end;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H
