// Where a label sits round its anchor, and the abstract label background.
//
// A reference point names the side of the anchor that the label body lies on
// and whether the body extends from the anchor towards one end of that side
// or sits centred on it. All label geometry lives in masked coordinates: x to
// the right, y downwards, third component 0, relative to the anchor.
#ifndef VARNEK_LABEL_SHAPE_LABELBACKGROUND_H
#define VARNEK_LABEL_SHAPE_LABELBACKGROUND_H

#include <array>

#include <varnek/export.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API LabelBackground {
public:
    // Placed values are grouped by side: Top 0-2, Left 3-5, Right 6-8,
    // Bottom 9-11. Any value outside -1..11 is answered like Center unless a
    // function says otherwise.
    enum ReferencePoint : int {
        Center = -1,
        TopLeft = 0,
        TopCenter = 1,
        TopRight = 2,
        LeftTop = 3,
        LeftCenter = 4,
        LeftBottom = 5,
        RightTop = 6,
        RightCenter = 7,
        RightBottom = 8,
        BottomLeft = 9,
        BottomCenter = 10,
        BottomRight = 11
    };

    // The side of the anchor the body lies on; 0 to 3 are in clockwise order.
    enum Side : int { Undefined = -1, Top = 0, Right = 1, Bottom = 2, Left = 3 };

    // Top, Right, Bottom, Left.
    static std::array<Side, 4> getAllSidesInClockwiseOrder();

    // Signs, per axis, of the direction from the reference point to the body's
    // centre. Center and every value outside 0..11 give the zero vector.
    static const Vector<float, 3>& getReferencePointToLabelCenterVectorMask(
        ReferencePoint referencePoint);

private:
    static const std::array<Vector<float, 3>, 12> s_referencePointToLabelCenterVectorMasks;
};

// Side predicates: true only for the placed values of that side (Center and
// out-of-range values are on no side).
VARNEK_API bool isTopSide(LabelBackground::ReferencePoint referencePoint);
VARNEK_API bool isBottomSide(LabelBackground::ReferencePoint referencePoint);
VARNEK_API bool isLeftSide(LabelBackground::ReferencePoint referencePoint);
VARNEK_API bool isRightSide(LabelBackground::ReferencePoint referencePoint);
VARNEK_API bool isTopOrBottomSide(LabelBackground::ReferencePoint referencePoint);
VARNEK_API bool isLeftOrRightSide(LabelBackground::ReferencePoint referencePoint);

// True for the centre of every side and for Center; false out of range.
VARNEK_API bool isCenterAligned(LabelBackground::ReferencePoint referencePoint);

// True for the reference point at the clockwise end of its side's edge
// (TopRight, LeftTop, RightBottom, BottomLeft).
VARNEK_API bool isTopAlignedRotationSymmetric(LabelBackground::ReferencePoint referencePoint);

// True for the reference point at the clockwise start of its side's edge
// (TopLeft, LeftBottom, RightTop, BottomRight).
VARNEK_API bool isBottomAlignedRotationSymmetric(LabelBackground::ReferencePoint referencePoint);

// True if the reference point lies on the given side; false for Undefined and
// any other side value.
VARNEK_API bool isReferencePointOnSide(LabelBackground::ReferencePoint referencePoint,
                                       LabelBackground::Side side);

// The side holding the reference point; Undefined for Center and out of range.
VARNEK_API LabelBackground::Side getSideOfReferencePoint(
    LabelBackground::ReferencePoint referencePoint);

// The reference point at the clockwise end of the side's edge; Center for
// any value outside 0..3.
VARNEK_API LabelBackground::ReferencePoint getCornerOfSideInClockwiseOrder(
    LabelBackground::Side side);

// The reference point at the same place on the opposite side; Center for
// Center and out of range.
VARNEK_API LabelBackground::ReferencePoint getMirrored(
    LabelBackground::ReferencePoint referencePoint);

// The side's value unchanged.
VARNEK_API int toIndex(LabelBackground::Side side);

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_LABELBACKGROUND_H
