// The anchors of a frame by grid cell, in one array sorted by cell (built
// once per frame, allocating nothing once grown), to list the anchors near
// a rectangle. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class AnchorGrid {
public:
    // Sorts the anchors (x[i], y[i]) with listed[i] set into the layout's cells.
    void build(const UniformGrid& layout, const float* x, const float* y,
               const std::uint8_t* listed, std::size_t count);

    // Calls visit(label) for every anchor in the closed rectangle, cell by
    // cell in row order and within a cell in label order.
    template <typename Visit>
    void forEachIn(const LabelRect& rect, Visit&& visit) const {
        forEachNear(rect, [&](float x, float y, std::uint32_t label) {
            if (rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom) {
                visit(label);
            }
        });
    }

    // Calls visit(x, y, label) for every anchor in the cells the rectangle
    // touches, cell by cell in row order and within a cell in label order.
    template <typename Visit>
    void forEachNear(const LabelRect& rect, Visit&& visit) const {
        // The cells of one row are consecutive: each row is one run of
        // anchors.
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            const std::size_t first = m_layout.getCellIndex(cells.column0, row);
            const std::size_t last = m_layout.getCellIndex(cells.column1, row);
            const Anchor* end = m_anchors.data() + m_cellStarts[last + 1];
            for (const Anchor* anchor = m_anchors.data() + m_cellStarts[first]; anchor != end;
                 ++anchor) {
                visit(anchor->x, anchor->y, anchor->label);
            }
        }
    }

private:
    struct Anchor {
        float x;
        float y;
        std::uint32_t label;
    };

    UniformGrid m_layout;
    std::vector<std::uint32_t> m_cellStarts;
    std::vector<Anchor> m_anchors;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORGRID_H
