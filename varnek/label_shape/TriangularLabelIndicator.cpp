#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <varnek/label_shape/internal/IndicatorGeometry.h>

namespace Varnek {

// 2/3 rounded to single precision (bit pattern 0x3F2AAAAB).
constexpr float TriangularLabelIndicator::s_acuteAngledWidthToHeightRatio = 0x1.555556p-1f;
constexpr float TriangularLabelIndicator::s_rightAngledWidthToHeightRatio = 0.5f;

std::unique_ptr<TriangularLabelIndicator>
TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
    bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction) {
    return std::unique_ptr<TriangularLabelIndicator>(new TriangularLabelIndicator(
        s_acuteAngledWidthToHeightRatio, useFixedSize, fixedIndicatorWidthInScreenHeightFraction));
}

std::unique_ptr<TriangularLabelIndicator>
TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(
    bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction) {
    return std::unique_ptr<TriangularLabelIndicator>(new TriangularLabelIndicator(
        s_rightAngledWidthToHeightRatio, useFixedSize, fixedIndicatorWidthInScreenHeightFraction));
}

TriangularLabelIndicator::TriangularLabelIndicator(float widthToHeightRatio, bool useFixedSize,
                                                   float fixedIndicatorWidthInScreenHeightFraction)
    : LabelIndicator(useFixedSize, fixedIndicatorWidthInScreenHeightFraction),
      m_widthToHeightRatio(widthToHeightRatio) {}

TriangularLabelIndicator::~TriangularLabelIndicator() = default;

Vector<float, 3> TriangularLabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    const float width = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    return {width, width * m_widthToHeightRatio, 0.0f};
}

Vector<float, 3> TriangularLabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    return getSizeInNominalRotationInMaskedCoordinates(referencePoint, size);
}

int TriangularLabelIndicator::getNumberOfPolygonPoints() const noexcept {
    return 3;
}

Vector<float, 3> TriangularLabelIndicator::getOffset(ReferencePoint referencePoint,
                                                     const Vector<float, 3>& size) const noexcept {
    const float width = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    const float height = width * m_widthToHeightRatio;
    const bool atEndOfEdge = isTopAlignedRotationSymmetric(referencePoint) ||
                             isBottomAlignedRotationSymmetric(referencePoint);
    const float alongEdge = atEndOfEdge ? width * 0.5f : 0.0f;
    const Vector<float, 3>& mask = getIndicatorPointToLabelReferencePointVectorMask(referencePoint);
    if (isLeftOrRightSide(referencePoint)) {
        return {mask[0] * height, mask[1] * alongEdge, 0.0f};
    }
    return {mask[0] * alongEdge, mask[1] * height, 0.0f};
}

void TriangularLabelIndicator::addPolygonPointsInClockwiseOrder(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    std::vector<Vector<float, 3>>& points) const {
    const float width = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    addTrianglePointsInClockwiseOrder(referencePoint, {width, width * m_widthToHeightRatio, 0.0f},
                                      points);
}

bool TriangularLabelIndicator::writePolygonPointsInClockwiseOrder(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    Vector<float, 3>* points) const noexcept {
    const float width = internal::getFullWidthInMaskedCoordinates(*this, referencePoint, size);
    internal::writeTrianglePointsInClockwiseOrder(
        referencePoint, {width, width * m_widthToHeightRatio, 0.0f}, points);
    return true;
}

}  // namespace Varnek
