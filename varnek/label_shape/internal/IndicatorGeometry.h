// The geometry the library's indicators share: the full width, the
// directions of the edge that carries the indicator, and the points of a
// triangle with its tip on the anchor. Private to the library's sources; not
// installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_INDICATORGEOMETRY_H
#define VARNEK_LABEL_SHAPE_INTERNAL_INDICATORGEOMETRY_H

#include <algorithm>
#include <array>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// Unit directions on the edge that carries the indicator: across points
// from the tip into the body, along follows the clockwise walk. Both are
// zero for a reference point on no side.
struct EdgeDirections {
    Vector<float, 3> across;
    Vector<float, 3> along;
};

// Indexed by side value, then a row of zeros for no side.
inline constexpr std::array<EdgeDirections, s_numberOfSides + 1> s_edgeDirectionsOfSides =
    makeEdgeDirectionsOfSides<EdgeDirections>();

// The directions for the reference point's side.
inline const EdgeDirections& getEdgeDirections(LabelBackground::ReferencePoint referencePoint) {
    // Undefined (-1) becomes the last row, the one of no side.
    const auto side = static_cast<unsigned int>(getSideOfReferencePoint(referencePoint));
    return s_edgeDirectionsOfSides[std::min(side, static_cast<unsigned int>(s_numberOfSides))];
}

inline Vector<float, 3> getScaled(const Vector<float, 3>& v, float factor) {
    return {v[0] * factor, v[1] * factor, v[2] * factor};
}

// across * height - along * length: the point a length before the tip's
// foot in the clockwise walk.
inline Vector<float, 3> getPointBeforeTip(const EdgeDirections& directions, float height,
                                          float length) {
    Vector<float, 3> point = getScaled(directions.across, height);
    point -= getScaled(directions.along, length);
    return point;
}

// across * height + along * length: the point a length after it.
inline Vector<float, 3> getPointAfterTip(const EdgeDirections& directions, float height,
                                         float length) {
    Vector<float, 3> point = getScaled(directions.across, height);
    point += getScaled(directions.along, length);
    return point;
}

// The base start, the tip (origin) and the base end of a triangle of the
// given (base width, height), written to points[0..2]; three origins for a
// point on no side.
inline void writeTrianglePointsInClockwiseOrder(LabelBackground::ReferencePoint referencePoint,
                                                const Vector<float, 3>& triangleSize,
                                                Vector<float, 3>* points) {
    const EdgeDirections& directions = getEdgeDirections(referencePoint);
    const float halfWidth = triangleSize[0] * 0.5f;
    points[0] = getPointBeforeTip(directions, triangleSize[1], halfWidth);
    points[1] = Vector<float, 3>::getZeroVector();
    points[2] = getPointAfterTip(directions, triangleSize[1], halfWidth);
}

// The indicator's full width: the fixed width times the scale factor, or
// the label size's extent along the edge (0 for a point on no side).
inline float getFullWidthInMaskedCoordinates(const LabelIndicator& indicator,
                                             LabelBackground::ReferencePoint referencePoint,
                                             const Vector<float, 3>& size) {
    if (indicator.getUseFixedSize()) {
        return indicator.getScreenHeightFractionToMaskedSceneScaleFactor() *
               indicator.getFixedIndicatorWidthInScreenHeightFraction();
    }
    if (isLeftOrRightSide(referencePoint)) {
        return size[1];
    }
    if (isTopOrBottomSide(referencePoint)) {
        return size[0];
    }
    return 0.0f;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_INDICATORGEOMETRY_H
