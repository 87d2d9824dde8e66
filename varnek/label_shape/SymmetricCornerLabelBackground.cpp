#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace Varnek {
namespace {

using V = Vector<float, 3>;

// The space a corner takes: how far its last point lies from its first.
V getExtentOfCorner(const std::vector<V>& corner) {
    if (corner.empty()) {
        return V::getZeroVector();
    }
    const V& first = corner.front();
    const V& last = corner.back();
    return {std::fabs(last[0] - first[0]), std::fabs(last[1] - first[1]),
            std::fabs(last[2] - first[2])};
}

}  // namespace

// The values are written as hexadecimal literals so that every bit of the
// stored single-precision values is fixed: 0.006 * sin 22.5 degrees, for
// one, rounds one unit in the last place below the stored 0x3B167A2E.
constexpr float SymmetricCornerLabelBackground::s_flatCornerRadiusInScreenHeightFraction =
    0x1.0624dep-8f;  // 0.004

// A quarter circle of radius 0.006 at 0, 22.5, 45, 67.5 and 90 degrees.
const std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::s_upperLeftCornerRound = {
    {0x1.89374cp-8f, 0.0f, 0.0f},            // (0.006, 0)
    {0x1.6b48c2p-8f, 0x1.2cf45cp-9f, 0.0f},  // (0.00554327713, 0.00229610084)
    {0x1.160bb2p-8f, 0x1.160bb2p-8f, 0.0f},  // (0.00424264045, 0.00424264045)
    {0x1.2cf45cp-9f, 0x1.6b48c2p-8f, 0.0f},  // (0.00229610084, 0.00554327713)
    {0.0f, 0x1.89374cp-8f, 0.0f},            // (0, 0.006)
};

// A chamfer at 45 degrees.
const std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::s_upperLeftCornerFlat = {
    {s_flatCornerRadiusInScreenHeightFraction, 0.0f, 0.0f},
    {0.0f, s_flatCornerRadiusInScreenHeightFraction, 0.0f},
};

const std::vector<Vector<float, 3>>
    SymmetricCornerLabelBackground::s_upperLeftCornerSimpleRectangle = {V::getZeroVector()};

std::shared_ptr<SymmetricCornerLabelBackground> SymmetricCornerLabelBackground::createRoundCornered(
    std::shared_ptr<LabelIndicator> indicator) {
    return std::shared_ptr<SymmetricCornerLabelBackground>(
        new SymmetricCornerLabelBackground(s_upperLeftCornerRound, std::move(indicator)));
}

std::shared_ptr<SymmetricCornerLabelBackground> SymmetricCornerLabelBackground::createFlatCornered(
    std::shared_ptr<LabelIndicator> indicator) {
    return std::shared_ptr<SymmetricCornerLabelBackground>(
        new SymmetricCornerLabelBackground(s_upperLeftCornerFlat, std::move(indicator)));
}

std::shared_ptr<SymmetricCornerLabelBackground>
SymmetricCornerLabelBackground::createSimpleRectangle(std::shared_ptr<LabelIndicator> indicator) {
    return std::shared_ptr<SymmetricCornerLabelBackground>(
        new SymmetricCornerLabelBackground(s_upperLeftCornerSimpleRectangle, std::move(indicator)));
}

SymmetricCornerLabelBackground::SymmetricCornerLabelBackground(
    const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
    std::shared_ptr<LabelIndicator> indicator)
    : LabelBackground(std::move(indicator)),
      m_upperLeftCornerGeometryInScreenHeightFraction(upperLeftCornerGeometry),
      m_neededSizeForCornerInScreenHeightFraction(getExtentOfCorner(upperLeftCornerGeometry)) {}

SymmetricCornerLabelBackground::~SymmetricCornerLabelBackground() = default;

Vector<float, 3> SymmetricCornerLabelBackground::getNeededSizeForCornerInMaskedCoordinates() const {
    const float scale = getScreenHeightFractionToMaskedSceneScaleFactor();
    const V& corner = m_neededSizeForCornerInScreenHeightFraction;
    return {corner[0] * scale, corner[1] * scale, corner[2] * scale};
}

Vector<float, 3> SymmetricCornerLabelBackground::getMinimalBodySizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& indicatorSize,
    const Vector<float, 3>& cornerSize) {
    float width = 2.0f * cornerSize[0];
    float height = 2.0f * cornerSize[1];
    // The edge that carries the indicator also holds its full width.
    if (isTopOrBottomSide(referencePoint)) {
        width += indicatorSize[0];
    } else if (isLeftOrRightSide(referencePoint)) {
        height += indicatorSize[0];
    }
    return {width, height, 0.0f};
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
    ReferencePoint referencePoint) const {
    return getMinimalBodySizeInMaskedCoordinates(referencePoint, V::getZeroVector(),
                                                 getNeededSizeForCornerInMaskedCoordinates());
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint) const {
    return getMinimalBodySizeInMaskedCoordinates(
        referencePoint,
        LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(getIndicator()),
        getNeededSizeForCornerInMaskedCoordinates());
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const {
    return getMinimalBodySizeInMaskedCoordinates(
        referencePoint,
        LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(referencePoint, getIndicator(),
                                                                    size),
        getNeededSizeForCornerInMaskedCoordinates());
}

std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::getPolygon(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    const Vector<float, 3>& offset) const {
    return getPolygon(referencePoint, size, getUpperLeftCornerGeometryInScreenHeightFraction(),
                      getScreenHeightFractionToMaskedSceneScaleFactor(),
                      getNeededSizeForCornerInMaskedCoordinates(), getIndicator(), offset);
}

int SymmetricCornerLabelBackground::getNumberOfPolygonPointsWithoutIndicatorPoints() const {
    return 4 * static_cast<int>(getUpperLeftCornerGeometryInScreenHeightFraction().size());
}

Vector<float, 3> SymmetricCornerLabelBackground::getBodyOffset(ReferencePoint referencePoint,
                                                               const Vector<float, 3>& size) const {
    const V minimal =
        SymmetricCornerLabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
            referencePoint);
    const V withIndicator =
        getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(referencePoint, size);
    const V body(std::max(size[0], withIndicator[0]), std::max(size[1], withIndicator[1]), 0.0f);
    return getAxiallySymmetricBodyOffset(referencePoint, body, minimal);
}

std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::getPolygon(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
    float screenHeightFractionToMaskedSceneScaleFactor, const Vector<float, 3>& cornerSize,
    const LabelIndicator* indicator, const Vector<float, 3>& offset) {
    const float scale = screenHeightFractionToMaskedSceneScaleFactor;
    const V minimal = getMinimalBodySizeInMaskedCoordinates(
        referencePoint,
        LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(referencePoint, indicator,
                                                                    size),
        cornerSize);
    const float halfWidth = 0.5f * std::max(size[0], minimal[0]);
    const float halfHeight = 0.5f * std::max(size[1], minimal[1]);

    std::vector<V> points;
    const int indicatorPoints = std::max(LabelIndicator::getNumberOfPolygonPoints(indicator), 0);
    points.reserve(static_cast<std::size_t>(indicatorPoints) + 4 * upperLeftCornerGeometry.size());
    for (const Side side : getAllSidesInClockwiseOrder()) {
        if (indicator != nullptr && isReferencePointOnSide(referencePoint, side)) {
            indicator->addPolygonPointsInClockwiseOrder(referencePoint, size, points);
        }
        // The corner that follows the side lies opposite the centre mask of
        // the side's clockwise end.
        const V& mask =
            getReferencePointToLabelCenterVectorMask(getCornerOfSideInClockwiseOrder(side));
        const V sign(-1.0f * mask[0], -1.0f * mask[1], -1.0f * mask[2]);
        V arcCentre = offset;
        arcCentre +=
            V((halfWidth - cornerSize[0]) * sign[0], (halfHeight - cornerSize[1]) * sign[1], 0.0f);
        // On Top and Bottom the table's axes are exchanged, so that every
        // corner is walked clockwise in table order.
        const bool exchangeAxes = side == Top || side == Bottom;
        for (const V& cornerPoint : upperLeftCornerGeometry) {
            const float a = exchangeAxes ? cornerPoint[1] : cornerPoint[0];
            const float b = exchangeAxes ? cornerPoint[0] : cornerPoint[1];
            V point = arcCentre;
            point += V(sign[0] * a * scale, sign[1] * b * scale, scale * 0.0f);
            points.push_back(point);
        }
    }
    return points;
}

}  // namespace Varnek
