// An axis-aligned rectangle in view coordinates (x to the right, y down).
#ifndef VARNEK_LABEL_PLACEMENT_LABELRECT_H
#define VARNEK_LABEL_PLACEMENT_LABELRECT_H

namespace Varnek {

// left <= right and top <= bottom for every rectangle the placer produces,
// but for a hidden label's bounds at a NaN anchor (its anchor as requested,
// in a 3D call its anchorInView: see PlacedLabel), which are NaN.
struct LabelRect {
    float left;    // Smallest x.
    float top;     // Smallest y.
    float right;   // Largest x.
    float bottom;  // Largest y.
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELRECT_H
