// The visible labels by grid cell: a label is listed, with its rectangle, in
// every cell its rectangle touches, so that a conflict search reads the few
// entries of the cells a candidate touches one after another. A cell holds
// a few entries in place and the rest in a pool of linked nodes; nothing is
// allocated once the cells and the pool have grown. Private to the library's
// sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/FrameAllocator.h>
#include <varnek/label_placement/internal/Portability.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class VisibleLabelGrid {
public:
    // At most this many cells along an axis, so that an entry holds the
    // first cell of its label in 16 bits each way.
    static constexpr std::uint32_t s_maxCellsPerAxis = 0xFFFFu;

    struct Entry {
        LabelRect rect;
        std::uint32_t label;
        // The first of the cells the label is listed in.
        std::uint16_t column;
        std::uint16_t row;
    };

    VisibleLabelGrid() = default;
    // Its cells from the arena. The pool of overflow entries has room for
    // every listing, of which a frame uses a few: it comes from the heap,
    // whose pages the system makes only where entries are written.
    explicit VisibleLabelGrid(FrameArena* arena) : m_cells(FrameAllocator<Cell>(arena)) {}

    // Empties the grid and takes the layout (at most s_maxCellsPerAxis cells
    // along either axis), with room for entries listings of labels in cells
    // without allocating.
    void reset(const UniformGrid& layout, std::size_t entries);
    const UniformGrid& getLayout() const { return m_layout; }

    void insert(std::uint32_t label, const LabelRect& rect);
    // rect must be the one the label was inserted with.
    void remove(std::uint32_t label, const LabelRect& rect);

    // Calls visit(entry) for every entry of every cell the rectangle
    // touches, in no particular order: a label listed in several of those
    // cells is visited once for each.
    template <typename Visit>
    void forEachListingInCells(const LabelRect& rect, Visit&& visit) const {
        findInCells(rect, [&](const Entry& entry, const CellRange&, std::uint32_t, std::uint32_t) {
            visit(entry);
            return false;
        });
    }
    // Calls visit(entry, first) for every entry of every cell the rectangle
    // touches, in no particular order; first is true for one entry of each
    // label, in the first cell the rectangle and the label share.
    template <typename Visit>
    void forEachInCells(const LabelRect& rect, Visit&& visit) const {
        findInCells(rect, [&](const Entry& entry, const CellRange& cells, std::uint32_t column,
                              std::uint32_t row) {
            visit(entry, isFirstListing(entry, cells, column, row));
            return false;
        });
    }
    // As forEachInCells, for the first entry of each label only, until visit
    // returns true; returns whether one did.
    template <typename Visit>
    bool anyLabelInCells(const LabelRect& rect, Visit&& visit) const {
        return findInCells(rect, [&](const Entry& entry, const CellRange& cells,
                                     std::uint32_t column, std::uint32_t row) {
            return isFirstListing(entry, cells, column, row) && visit(entry);
        });
    }

    // A hint ahead of a search of the rectangle, which changes no result:
    // asks for the cells it touches.
    void prefetchCells(const LabelRect& rect) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const Cell* cell = m_cells.data() + m_layout.getCellIndex(cells.column0, row);
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column, ++cell) {
                prefetchForRead(cell);
            }
        }
    }

private:
    static constexpr std::uint32_t s_end = 0xFFFFFFFFu;
    static constexpr std::uint32_t s_entriesInPlace = 5;

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

    // Whether the entry, met in the cell (column, row) of cells, is the
    // label's first listing there: both compared whole, without the branch
    // of &&.
    static bool isFirstListing(const Entry& entry, const CellRange& cells, std::uint32_t column,
                               std::uint32_t row) {
        const std::uint32_t firstColumn = std::max<std::uint32_t>(entry.column, cells.column0);
        const std::uint32_t firstRow = std::max<std::uint32_t>(entry.row, cells.row0);
        return ((firstColumn ^ column) | (firstRow ^ row)) == 0;
    }

    // Walks every entry of every cell the rectangle touches until
    // found(entry, cells, column, row) is true, with the cells touched and
    // the cell of the entry; returns whether it was.
    template <typename Found>
    bool findInCells(const LabelRect& rect, Found&& found) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const Cell* cell = m_cells.data() + m_layout.getCellIndex(cells.column0, row);
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column, ++cell) {
                for (std::uint32_t e = 0; e < cell->count; ++e) {
                    if (found(cell->entries[e], cells, column, row)) {
                        return true;
                    }
                }
                for (std::uint32_t node = cell->overflow; node != s_end;
                     node = m_nodes[node].next) {
                    if (found(m_nodes[node].entry, cells, column, row)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    void insertInCell(Cell& cell, const Entry& entry);
    // Whether the label was listed in the cell.
    bool removeFromCell(Cell& cell, std::uint32_t label);

    UniformGrid m_layout;
    FrameVector<Cell> m_cells;
    std::vector<Node> m_nodes;
    std::uint32_t m_free = s_end;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_VISIBLELABELGRID_H
