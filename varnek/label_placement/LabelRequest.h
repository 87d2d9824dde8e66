// One label the view wants to show in a frame.
#ifndef VARNEK_LABEL_PLACEMENT_LABELREQUEST_H
#define VARNEK_LABEL_PLACEMENT_LABELREQUEST_H

#include <cstdint>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

struct LabelRequest {
    // The label's identity across frames: the history goes by it.
    std::uint64_t key;
    // The anchor in view coordinates; z is ignored.
    Vector<float, 3> anchor;
    // The label's content size, as the shape queries take it.
    Vector<float, 3> size;
    // Higher is placed first and wins conflicts.
    float priority = 0.0f;
    // Null: the placer's default background. Must stay alive until the next
    // call of place (the outlines are drawn from it).
    const LabelBackground* background = nullptr;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELREQUEST_H
