#include <varnek/label_shape/LayeredLabelIndicator.h>

#include <array>
#include <cmath>
#include <cstddef>

#include <varnek/label_shape/internal/IndicatorGeometry.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>

namespace Varnek {
namespace {

using V = Vector<float, 3>;

constexpr unsigned int s_numberOfReferencePointsPerHalf = 6;

// The bar's four corners, the triangle's three points; where the triangle
// sits at an end of the bar, one corner fewer.
constexpr int s_maximalNumberOfOutlinePoints = 7;

// Reference points 0 to 5 (sides Top and Left) walk their edge against the
// layer's direction, 6 to 11 (Right and Bottom) with it.
constexpr bool isInFirstHalf(LabelBackground::ReferencePoint referencePoint) {
    return static_cast<unsigned int>(referencePoint) < s_numberOfReferencePointsPerHalf;
}

constexpr bool isInSecondHalf(LabelBackground::ReferencePoint referencePoint) {
    return static_cast<unsigned int>(referencePoint) - s_numberOfReferencePointsPerHalf <
           s_numberOfReferencePointsPerHalf;
}

// The layer's direction, from Lower to Upper: rightwards along a horizontal
// edge, upwards (negative y) along a vertical one.
constexpr std::array<float, 2> s_towardsUpperLayer = {1.0f, -1.0f};

constexpr bool walksAgainstLayerDirection(std::size_t index) {
    const internal::SideGeometry& side = internal::getSideGeometryOfPlaced(index);
    return side.walk * s_towardsUpperLayer[side.getAlongAxis()] < 0.0f;
}

// The halves by value agree with the walk of each reference point's side.
constexpr bool halvesFollowTheWalk() {
    for (std::size_t index = 0; index < internal::s_numberOfPlacedReferencePoints; ++index) {
        const auto referencePoint = static_cast<LabelBackground::ReferencePoint>(index);
        if (isInFirstHalf(referencePoint) != walksAgainstLayerDirection(index) ||
            isInSecondHalf(referencePoint) == walksAgainstLayerDirection(index)) {
            return false;
        }
    }
    return true;
}
static_assert(halvesFollowTheWalk(),
              "the first half walks its edge against the layer's direction, the second with it");

}  // namespace

constexpr float LayeredLabelIndicator::s_triangleToCompleteSideRatio = 0.55f;
constexpr float LayeredLabelIndicator::s_triangleWidthToHeightRatio = 0.6f;
constexpr float LayeredLabelIndicator::s_barThicknessToLengthRatio = 0.12f;
constexpr float LayeredLabelIndicator::s_minimalBarThicknessInScreenHeightFraction = 0.005f;

std::unique_ptr<LayeredLabelIndicator> LayeredLabelIndicator::createLayeredLabelIndicator(
    bool withAdditionalBar, Layer layer, bool useFixedSize,
    float fixedIndicatorWidthInScreenHeightFraction) {
    return std::unique_ptr<LayeredLabelIndicator>(
        new LayeredLabelIndicator(s_triangleWidthToHeightRatio, withAdditionalBar, layer,
                                  useFixedSize, fixedIndicatorWidthInScreenHeightFraction));
}

LayeredLabelIndicator::LayeredLabelIndicator(float triangleWidthToHeightRatio,
                                             bool withAdditionalBar, Layer layer, bool useFixedSize,
                                             float fixedIndicatorWidthInScreenHeightFraction)
    : LabelIndicator(useFixedSize, fixedIndicatorWidthInScreenHeightFraction),
      m_withAdditionalBar(withAdditionalBar),
      m_layer(layer),
      m_triangleWidthToHeightRatio(triangleWidthToHeightRatio) {}

LayeredLabelIndicator::~LayeredLabelIndicator() = default;

LayeredLabelIndicator::Dimensions LayeredLabelIndicator::getDimensions(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    const float fullWidth = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    return {fullWidth * s_triangleToCompleteSideRatio,
            (fullWidth * m_triangleWidthToHeightRatio) * s_triangleToCompleteSideRatio};
}

Vector<float, 3> LayeredLabelIndicator::getAdditionalBarSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    if (!m_withAdditionalBar) {
        return V::getZeroVector();
    }
    const float length = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    // At least a minimal fraction of the screen height thick, otherwise in
    // proportion to the bar's length.
    const float minimalThickness = getScreenHeightFractionToMaskedSceneScaleFactor() *
                                   s_minimalBarThicknessInScreenHeightFraction;
    const float proportionalThickness = length * s_barThicknessToLengthRatio;
    return {length,
            minimalThickness > proportionalThickness ? minimalThickness : proportionalThickness,
            0.0f};
}

bool LayeredLabelIndicator::isTriangleDrawnFirstInClockwiseOrder(
    ReferencePoint referencePoint) const noexcept {
    return (m_layer == Upper && isInFirstHalf(referencePoint)) ||
           (m_layer == Lower && isInSecondHalf(referencePoint));
}

bool LayeredLabelIndicator::isTriangleDrawnLastInClockwiseOrder(
    ReferencePoint referencePoint) const noexcept {
    return (m_layer == Lower && isInFirstHalf(referencePoint)) ||
           (m_layer == Upper && isInSecondHalf(referencePoint));
}

Vector<float, 3> LayeredLabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    const Dimensions d = getDimensions(referencePoint, size);
    const float barThickness =
        getAdditionalBarSizeInNominalRotationInMaskedCoordinates(referencePoint, size)[1];
    return {d.triangleWidth / s_triangleToCompleteSideRatio, d.triangleHeight + barThickness, 0.0f};
}

Vector<float, 3> LayeredLabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    const Dimensions d = getDimensions(referencePoint, size);
    return {d.triangleWidth, d.triangleHeight, 0.0f};
}

int LayeredLabelIndicator::getNumberOfPolygonPoints() const noexcept {
    if (!m_withAdditionalBar) {
        return 3;
    }
    return m_layer == Middle ? 7 : 6;
}

Vector<float, 3> LayeredLabelIndicator::getOffset(ReferencePoint referencePoint,
                                                  const Vector<float, 3>& size) const noexcept {
    const Dimensions d = getDimensions(referencePoint, size);
    const float barThickness =
        getAdditionalBarSizeInNominalRotationInMaskedCoordinates(referencePoint, size)[1];
    // The side length as the triangle's width gives it back.
    const float sideLength = d.triangleWidth / s_triangleToCompleteSideRatio;
    const bool first = isTriangleDrawnFirstInClockwiseOrder(referencePoint);
    const bool last = isTriangleDrawnLastInClockwiseOrder(referencePoint);

    // How far the bar reaches from the tip with the clockwise walk, and how
    // far the reference point lies from the bar's end against the walk.
    const float reach = last    ? d.triangleWidth * 0.5f
                        : first ? sideLength - d.triangleWidth * 0.5f
                                : sideLength * 0.5f;
    const float fromEnd = isTopAlignedRotationSymmetric(referencePoint)      ? 0.0f
                          : isBottomAlignedRotationSymmetric(referencePoint) ? sideLength
                                                                             : sideLength * 0.5f;
    const float alongEdge = std::fabs(reach - fromEnd);
    const float height = barThickness + d.triangleHeight;

    V mask = getIndicatorPointToLabelReferencePointVectorMask(referencePoint);
    const bool leftOrRight = isLeftOrRightSide(referencePoint);
    if (isCenterAligned(referencePoint)) {
        // A centre reference point lies at the bar's middle: against the walk
        // from a triangle at the bar's end, with it from one at the start.
        const std::size_t alongAxis = leftOrRight ? 1 : 0;
        const float walk = internal::getEdgeDirections(referencePoint).along[alongAxis];
        mask[alongAxis] = last ? -walk : first ? walk : 0.0f;
    }
    if (leftOrRight) {
        return {mask[0] * height, mask[1] * alongEdge, 0.0f};
    }
    return {mask[0] * alongEdge, mask[1] * height, 0.0f};
}

int LayeredLabelIndicator::getNumberOfOutlinePoints(ReferencePoint referencePoint) const noexcept {
    if (!m_withAdditionalBar) {
        return 3;
    }
    const int sharedCorners = (isTriangleDrawnFirstInClockwiseOrder(referencePoint) ? 1 : 0) +
                              (isTriangleDrawnLastInClockwiseOrder(referencePoint) ? 1 : 0);
    return s_maximalNumberOfOutlinePoints - sharedCorners;
}

void LayeredLabelIndicator::writeOutline(ReferencePoint referencePoint,
                                         const Vector<float, 3>& size,
                                         Vector<float, 3>* points) const noexcept {
    const Dimensions d = getDimensions(referencePoint, size);
    const V triangle(d.triangleWidth, d.triangleHeight, 0.0f);
    if (!m_withAdditionalBar) {
        internal::writeTrianglePointsInClockwiseOrder(referencePoint, triangle, points);
        return;
    }
    const V bar = getAdditionalBarSizeInNominalRotationInMaskedCoordinates(referencePoint, size);
    const float barLength = bar[0];
    const float totalHeight = d.triangleHeight + bar[1];
    const internal::EdgeDirections& directions = internal::getEdgeDirections(referencePoint);
    const bool first = isTriangleDrawnFirstInClockwiseOrder(referencePoint);
    const bool last = isTriangleDrawnLastInClockwiseOrder(referencePoint);

    // How far the bar reaches from the tip against the walk and with it.
    float before = barLength * 0.5f;
    float after = barLength * 0.5f;
    if (last) {
        before = barLength - d.triangleWidth * 0.5f;
        after = d.triangleWidth * 0.5f;
    } else if (first) {
        before = d.triangleWidth * 0.5f;
        after = barLength - d.triangleWidth * 0.5f;
    }

    V* point = points;
    *point++ = internal::getPointBeforeTip(directions, totalHeight, before);
    if (!first) {
        *point++ = internal::getPointBeforeTip(directions, d.triangleHeight, before);
    }
    internal::writeTrianglePointsInClockwiseOrder(referencePoint, triangle, point);
    point += 3;
    if (!last) {
        *point++ = internal::getPointAfterTip(directions, d.triangleHeight, after);
    }
    *point = internal::getPointAfterTip(directions, totalHeight, after);
}

void LayeredLabelIndicator::addPolygonPointsInClockwiseOrder(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    std::vector<Vector<float, 3>>& points) const {
    std::array<V, s_maximalNumberOfOutlinePoints> outline;
    writeOutline(referencePoint, size, outline.data());
    points.insert(points.end(), outline.begin(),
                  outline.begin() + getNumberOfOutlinePoints(referencePoint));
}

bool LayeredLabelIndicator::writePolygonPointsInClockwiseOrder(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    Vector<float, 3>* points) const noexcept {
    if (getNumberOfOutlinePoints(referencePoint) != getNumberOfPolygonPoints()) {
        return false;
    }
    writeOutline(referencePoint, size, points);
    return true;
}

}  // namespace Varnek
