// Screen cells no label may cover (the model's silhouette, a panel), at
// any resolution.
#ifndef VARNEK_LABEL_PLACEMENT_COVERAGEMASK_H
#define VARNEK_LABEL_PLACEMENT_COVERAGEMASK_H

#include <cstdint>

namespace Varnek {

// Cell (column c, row r) covers the viewport's part from left + c * W / width
// to left + (c + 1) * W / width across and, likewise, from the viewport's top
// down, edges included: a label whose bounds share an interior point with a
// nonzero cell is not drawn there; touching it is allowed. Bounds of no
// width or height lying across a cell's inside count, as they do for a
// rectangle kept out. A mask with a
// null cells pointer, a width or height of 0 or less, is ignored.
struct CoverageMask {
    // width * height cells, row by row, row 0 at the viewport's top;
    // nonzero: keep out.
    const std::uint8_t* cells = nullptr;
    int width = 0;
    int height = 0;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_COVERAGEMASK_H
