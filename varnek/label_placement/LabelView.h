// The camera of one frame: how world anchors land in the view.
#ifndef VARNEK_LABEL_PLACEMENT_LABELVIEW_H
#define VARNEK_LABEL_PLACEMENT_LABELVIEW_H

#include <array>

#include <varnek/label_placement/LabelRect.h>

namespace Varnek {

struct LabelView {
    // World to clip coordinates, column-major: clip = M * (x, y, z, 1), so
    // that element 4 * column + row is M's entry in that row and column (the
    // layout OpenGL and most math libraries hand over). All zeros by
    // default: every anchor is then behind the camera.
    std::array<float, 16> viewProjection{};
    // Where normalised device coordinates (-1, +1) .. (+1, -1) land: x to
    // the right, y DOWN (NDC y = +1 is the viewport's top). A viewport that
    // is not finite or has left > right or top > bottom puts every anchor
    // out of contract.
    LabelRect viewport{0.0f, 0.0f, 0.0f, 0.0f};
    // NDC z in [0, 1] (Vulkan, Direct3D) instead of [-1, 1] (OpenGL).
    bool zeroToOneDepth = false;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELVIEW_H
