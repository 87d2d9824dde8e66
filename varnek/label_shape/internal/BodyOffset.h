// The offset of a body that is symmetric about its centre lines. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_BODYOFFSET_H
#define VARNEK_LABEL_SHAPE_INTERNAL_BODYOFFSET_H

#include <cstddef>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// LabelBackground::getAxiallySymmetricBodyOffset for a reference point on
// the given side with the given centre mask. Inline, so that the rectangular
// background's body offset takes it whole, with the side it has already
// looked up: called across files, the exported function is a call with its
// arguments passed through memory.
inline Vector<float, 3> getAxiallySymmetricBodyOffset(LabelBackground::Side side,
                                                      const Vector<float, 3>& mask,
                                                      const Vector<float, 3>& bodySize,
                                                      const Vector<float, 3>& minimalBodySize) {
    Vector<float, 3> offset(0.5f * (bodySize[0] * mask[0]), 0.5f * (bodySize[1] * mask[1]), 0.0f);
    // Along the edge, half the minimal body lies on the far side of the
    // reference point; the rest of the body extends the mask's way. A point
    // on no side (Center) has no edge and is not shifted.
    // Each component is named by a constant index: indexed by a variable,
    // the vector would live in memory, which doubles the offset's cost.
    Vector<float, 3> shift;
    const auto sideIndex = static_cast<std::size_t>(side);
    if (sideIndex < s_numberOfSides) {
        if (s_sideGeometries[sideIndex].getAlongAxis() == 0) {
            shift[0] = 0.5f * mask[0] * minimalBodySize[0];
        } else {
            shift[1] = 0.5f * mask[1] * minimalBodySize[1];
        }
    }
    offset -= shift;
    return offset;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_BODYOFFSET_H
