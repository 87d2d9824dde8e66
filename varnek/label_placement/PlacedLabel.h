// Where the placer put one label, or that it hid it.
#ifndef VARNEK_LABEL_PLACEMENT_PLACEDLABEL_H
#define VARNEK_LABEL_PLACEMENT_PLACEDLABEL_H

#include <cstdint>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

// Why a label is not shown.
enum class LabelHiddenReason : std::uint8_t {
    None,                      // the label is visible (and not fading out)
    NoRoom,                    // every candidate conflicts, or leaves the viewport
    OutOfContract,             // NaN or infinite anchor or size, a negative size, a bad viewport
    BackgroundNotInitialized,  // its background's initialize was never called
    PlaceTaken,    // its place of the previous call is taken: it steps back for one call
    BehindCamera,  // 3D call: clip w <= 0, outside the depth range, or a NaN clip coordinate
    OutsideView,   // 3D call: the projected anchor lies outside the view's viewport
    Occluded,      // 3D call: the depth image holds something nearer than the anchor
};

// A hidden label has referencePoint Center, offset (0, 0, 0) and as bounds
// the empty rectangle at its anchor's x and y as requested (NaN included);
// in a 3D call, at anchorInView's x and y.
struct PlacedLabel {
    // False: hidden; hiddenReason says why. True also while a label fades
    // out (fadeFrames): hiddenReason then says why it goes.
    bool visible;
    LabelBackground::ReferencePoint referencePoint;
    // The vector from the anchor to the body's centre, as getOffset gives it.
    Vector<float, 3> offset;
    // Holds every point of the label's outline, in view coordinates.
    LabelRect bounds;
    LabelHiddenReason hiddenReason = LabelHiddenReason::None;
    // Where the anchor landed: x and y in view coordinates, z the window
    // depth in [0, 1]; for a 2D call the anchor as given. NaN for an anchor
    // behind the camera or out of contract in a 3D call.
    Vector<float, 3> anchorInView;
    // 1: shown; 0: not drawn; between while fading. visible is true while
    // opacity > 0.
    float opacity = 0.0f;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_PLACEDLABEL_H
