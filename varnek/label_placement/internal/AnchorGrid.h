// The anchors of a frame by grid cell, in one array sorted by cell (built
// once per frame, allocating nothing once grown). Answers whether a
// rectangle holds another label's anchor strictly inside. Private to the
// library's sources; not installed.
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
    // Whether an anchor other than the label's own lies strictly inside rect.
    bool holdsOtherAnchor(const LabelRect& rect, std::uint32_t label) const;

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
