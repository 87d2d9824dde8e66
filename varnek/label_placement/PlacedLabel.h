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
    // True: the label is a callout (LabelPlacementOptions::calloutDistance):
    // its body stands away from the anchor, joined to it by a leader
    // (LabelPlacer::appendLeaders). Its outline is the body alone, without
    // a pointer: the outline its background gives for Center (which holds
    // no indicator points; the balloon, which has no indicator, its whole
    // outline), moved away from the anchor. referencePoint says on which
    // side of the anchor the body lies: TopLeft, TopCenter or TopRight when
    // the body lies wholly above the anchor (wholly to its left, across its
    // x, wholly to its right), BottomLeft, BottomCenter or BottomRight when
    // wholly below, else LeftCenter or RightCenter. offset is the vector
    // from the anchor to the body's centre (for Center the background's
    // getOffset plus how far the body was moved); bounds holds the body's
    // outline, and not the anchor. False for a label next to its anchor and
    // a hidden one.
    bool callout = false;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_PLACEDLABEL_H
