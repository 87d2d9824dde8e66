// The anchors of a frame by grid cell, in one array sorted by cell (built
// once per frame, allocating nothing once grown), to list the anchors near
// a rectangle. Anchors of several labels at one point are listed once in a
// crowded cell, so that a search reads each point once however many labels
// share it, and a cell of many points keeps their bounds, so that a search
// can pass over those that cannot matter to it. Private to the library's
// sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/FrameAllocator.h>
#include <varnek/label_placement/internal/Portability.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class AnchorGrid {
public:
    AnchorGrid() = default;
    // Its cells and anchors from the arena.
    explicit AnchorGrid(FrameArena* arena)
        : m_cellStarts(FrameAllocator<std::uint32_t>(arena)),
          m_anchors(FrameAllocator<Anchor>(arena)),
          m_bounds(FrameAllocator<CellBounds>(arena)) {}

    // Sorts the anchors (x[i], y[i]) with listed[i] set into the layout's cells.
    void build(const UniformGrid& layout, const float* x, const float* y,
               const std::uint8_t* listed, std::size_t count);

    // Calls visit(label) for every anchor in the closed rectangle, cell by
    // cell in row order and within a cell in label order (in a crowded
    // cell, the labels of one point one after another, in the order of the
    // first label of each point).
    template <typename Visit>
    void forEachIn(const LabelRect& rect, Visit&& visit) const {
        forEachPointNear(rect, [&](float x, float y, std::uint32_t point) {
            if (rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom) {
                const std::uint32_t label = point & ~s_sharedBit;
                visit(label);
                for (std::uint32_t next = point != label ? m_nextAtPoint[label] : s_none;
                     next != s_none; next = m_nextAtPoint[next]) {
                    visit(next);
                }
            }
        });
    }

    // How many points hold anchors in the cells the rectangle touches (a
    // point shared by several labels once): read off the cells' starts.
    std::size_t countPointsNear(const LabelRect& rect) const {
        const CellRange cells = m_layout.getCells(rect);
        std::size_t points = 0;
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            points += m_cellStarts[m_layout.getCellIndex(cells.column1, row) + 1] -
                      m_cellStarts[m_layout.getCellIndex(cells.column0, row)];
        }
        return points;
    }

    // Whether holds(label) for a label whose anchor lies inside the open
    // rectangle, asking in the order of forEachIn and stopping at the first.
    template <typename Holds>
    bool anyInside(const LabelRect& rect, Holds&& holds) const {
        bool found = false;
        forEachPointNear(rect, [&](float x, float y, std::uint32_t point) {
            if (rect.left < x && x < rect.right && rect.top < y && y < rect.bottom) {
                const std::uint32_t label = point & ~s_sharedBit;
                found = holds(label);
                for (std::uint32_t next = point != label ? m_nextAtPoint[label] : s_none;
                     !found && next != s_none; next = m_nextAtPoint[next]) {
                    found = holds(next);
                }
            }
            return found;
        });
        return found;
    }

    // Calls visit(x, y, point) for every point holding an anchor in the
    // cells the rectangle touches, cell by cell in row order and within a
    // cell in label order: point is the label whose anchor it is, or a value
    // that is no label's when several labels' anchors are there. A visit
    // that returns a bool stops the search by returning true.
    template <typename Visit>
    void forEachPointNear(const LabelRect& rect, Visit&& visit) const {
        // The cells of one row are consecutive: each row is one run of
        // anchors.
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const std::size_t first = m_layout.getCellIndex(cells.column0, row);
            const std::size_t last = m_layout.getCellIndex(cells.column1, row);
            const Anchor* end = m_anchors.data() + m_cellStarts[last + 1];
            for (const Anchor* anchor = m_anchors.data() + m_cellStarts[first]; anchor != end;
                 ++anchor) {
                if constexpr (std::is_same_v<decltype(visit(0.0f, 0.0f, anchor->label)), bool>) {
                    if (visit(anchor->x, anchor->y, anchor->label)) {
                        return;
                    }
                } else {
                    visit(anchor->x, anchor->y, anchor->label);
                }
            }
        }
    }

    // The same, for a visit that returns a bool, but a cell of more than
    // s_boundedCell points is read only while worthReading(bounds), given
    // the bounds of the cell's points (edges included), returns true: it is
    // asked before the cell's first point and again after every
    // s_pointsBetweenAsks points, and the rest of the cell is passed over
    // once it returns false.
    template <typename WorthReading, typename Visit>
    void forEachPointNear(const LabelRect& rect, WorthReading&& worthReading, Visit&& visit) const {
        const CellRange cells = m_layout.getCells(rect);
        if (m_bounds.empty()) {
            readRows(cells, visit);
            return;
        }
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const std::size_t first = m_layout.getCellIndex(cells.column0, row);
            const std::size_t last = m_layout.getCellIndex(cells.column1, row);
            if (m_cellStarts[last + 1] - m_cellStarts[first] <= s_boundedCell) {
                if (readRun(m_cellStarts[first], m_cellStarts[last + 1], visit)) {
                    return;
                }
                continue;
            }
            const CellBounds* bounds = m_bounds.data();
            for (std::size_t cell = first; cell <= last; ++cell) {
                std::uint32_t begin = m_cellStarts[cell];
                const std::uint32_t end = m_cellStarts[cell + 1];
                if (end - begin <= s_boundedCell) {
                    if (readRun(begin, end, visit)) {
                        return;
                    }
                    continue;
                }
                // Every cell of more points has its bounds, in cell order.
                bounds = std::lower_bound(
                    bounds, m_bounds.data() + m_bounds.size(), cell,
                    [](const CellBounds& entry, std::size_t other) { return entry.cell < other; });
                while (begin != end && worthReading(bounds->rect)) {
                    const std::uint32_t stop =
                        end - begin > s_pointsBetweenAsks ? begin + s_pointsBetweenAsks : end;
                    if (readRun(begin, stop, visit)) {
                        return;
                    }
                    begin = stop;
                }
            }
        }
    }

    // Hints ahead of a search of the rectangle, which change no result: the
    // first asks for where each row's anchors start, the second, some steps
    // later, for the first anchors of each row.
    void prefetchRowStarts(const LabelRect& rect) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            prefetchForRead(m_cellStarts.data() + m_layout.getCellIndex(cells.column0, row));
        }
    }
    void prefetchRows(const LabelRect& rect) const {
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            prefetchForRead(m_anchors.data() +
                            m_cellStarts[m_layout.getCellIndex(cells.column0, row)]);
        }
    }

    // Cells with more anchors than this are searched for shared points.
    static constexpr std::size_t s_crowdedCell = 16;
    // Cells with more points than this keep their points' bounds (where
    // anchors crowd: too few for a uniform scene's cells to have any).
    static constexpr std::uint32_t s_boundedCell = 2 * s_crowdedCell;
    // How many points of a cell with bounds are read between asks whether
    // the rest are worth reading.
    static constexpr std::uint32_t s_pointsBetweenAsks = 4;

private:
    static constexpr std::uint32_t s_none = 0xFFFFFFFFu;
    // Set in an anchor's label when other labels share its point.
    static constexpr std::uint32_t s_sharedBit = 0x80000000u;

    struct Anchor {
        float x;
        float y;
        std::uint32_t label;
    };
    // The bounds of the points of a cell of more than s_boundedCell.
    struct CellBounds {
        std::uint32_t cell;
        LabelRect rect;
    };

    // forEachPointNear of the cells, a row at a time.
    template <typename Visit>
    void readRows(const CellRange& cells, Visit& visit) const {
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const std::size_t first = m_layout.getCellIndex(cells.column0, row);
            const std::size_t last = m_layout.getCellIndex(cells.column1, row);
            if (readRun(m_cellStarts[first], m_cellStarts[last + 1], visit)) {
                return;
            }
        }
    }
    // visit for the anchors [begin, end) in order; whether a visit
    // returned true, which stops there.
    template <typename Visit>
    bool readRun(std::uint32_t begin, std::uint32_t end, Visit& visit) const {
        const Anchor* const stop = m_anchors.data() + end;
        for (const Anchor* anchor = m_anchors.data() + begin; anchor != stop; ++anchor) {
            if (visit(anchor->x, anchor->y, anchor->label)) {
                return true;
            }
        }
        return false;
    }

    // Lists each point of the cell's anchors (begin, end) once, in the order
    // of their first labels, and chains the other labels of a point in
    // m_nextAtPoint; returns the number of points. Notes the points' bounds
    // where they are more than s_boundedCell.
    std::size_t listPointsOnce(std::size_t cell, Anchor* begin, Anchor* end);

    UniformGrid m_layout;
    FrameVector<std::uint32_t> m_cellStarts;
    FrameVector<Anchor> m_anchors;
    // Per cell of more than s_boundedCell points, in cell order.
    FrameVector<CellBounds> m_bounds;
    // Per label of a shared point: the next label there, in label order.
    // Written only in crowded cells: from the heap, whose pages are made
    // only where written, and sized when a frame first has such a cell.
    std::vector<std::uint32_t> m_nextAtPoint;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H
