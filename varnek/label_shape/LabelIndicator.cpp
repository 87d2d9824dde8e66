#include <varnek/label_shape/LabelIndicator.h>

#include <varnek/label_shape/internal/IndicatorGeometry.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>

namespace Varnek {
namespace {

using V = Vector<float, 3>;

}  // namespace

constexpr std::array<Vector<float, 3>, 12>
    LabelIndicator::s_indicatorPointToLabelReferencePointVectorMasks = internal::s_indicatorMasks;

LabelIndicator::LabelIndicator(bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction)
    : m_useFixedSize(useFixedSize),
      m_fixedIndicatorWidthInScreenHeightFraction(
          useFixedSize ? fixedIndicatorWidthInScreenHeightFraction : -1.0f),
      m_screenHeightFractionToMaskedSceneScaleFactor(-1.0f),
      m_initialized(false) {}

LabelIndicator::~LabelIndicator() = default;

void LabelIndicator::initialize(float screenHeightFractionToMaskedSceneScaleFactor) noexcept {
    m_screenHeightFractionToMaskedSceneScaleFactor = screenHeightFractionToMaskedSceneScaleFactor;
    m_initialized = true;
}

Vector<float, 3> LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates() const {
    if (!m_useFixedSize) {
        return V::getZeroVector();
    }
    // With a fixed width the label size is not read: this is the size at that width.
    return getSizeInNominalRotationInMaskedCoordinates(LabelBackground::Center, V::getZeroVector());
}

Vector<float, 3> LabelIndicator::getSizeRotatedToSide(ReferencePoint referencePoint,
                                                      const Vector<float, 3>& size) const noexcept {
    if (isTopOrBottomSide(referencePoint)) {
        return size;
    }
    if (isLeftOrRightSide(referencePoint)) {
        return {size[1], size[0], 0.0f};
    }
    return V::getZeroVector();
}

Vector<float, 3> LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelIndicator* indicator, const Vector<float, 3>& size) {
    return indicator != nullptr
               ? indicator->getSizeInNominalRotationInMaskedCoordinates(referencePoint, size)
               : V::getZeroVector();
}

Vector<float, 3> LabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelIndicator* indicator, const Vector<float, 3>& size) {
    return indicator != nullptr ? indicator->getTriangleSizeInNominalRotationInMaskedCoordinates(
                                      referencePoint, size)
                                : V::getZeroVector();
}

Vector<float, 3> LabelIndicator::getOffset(ReferencePoint referencePoint,
                                           const LabelIndicator* indicator,
                                           const Vector<float, 3>& size) {
    return indicator != nullptr ? indicator->getOffset(referencePoint, size) : V::getZeroVector();
}

Vector<float, 3> LabelIndicator::getSizeRotatedToSide(ReferencePoint referencePoint,
                                                      const LabelIndicator* indicator,
                                                      const Vector<float, 3>& size) noexcept {
    return indicator != nullptr ? indicator->getSizeRotatedToSide(referencePoint, size)
                                : V::getZeroVector();
}

int LabelIndicator::getNumberOfPolygonPoints(const LabelIndicator* indicator) {
    return indicator != nullptr ? indicator->getNumberOfPolygonPoints() : 0;
}

Vector<float, 3> LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(
    const LabelIndicator* indicator) {
    return indicator != nullptr ? indicator->getMinimalSizeInNominalRotationInMaskedCoordinates()
                                : V::getZeroVector();
}

void LabelIndicator::addTrianglePointsInClockwiseOrder(ReferencePoint referencePoint,
                                                       const Vector<float, 3>& triangleSize,
                                                       std::vector<Vector<float, 3>>& points) {
    std::array<V, 3> triangle;
    internal::writeTrianglePointsInClockwiseOrder(referencePoint, triangleSize, triangle.data());
    points.insert(points.end(), triangle.begin(), triangle.end());
}

bool LabelIndicator::writePolygonPointsInClockwiseOrder(ReferencePoint /*referencePoint*/,
                                                        const Vector<float, 3>& /*size*/,
                                                        Vector<float, 3>* /*points*/) const {
    return false;
}

const Vector<float, 3>& LabelIndicator::getIndicatorPointToLabelReferencePointVectorMask(
    ReferencePoint referencePoint) noexcept {
    const auto index = static_cast<unsigned int>(referencePoint);
    return index < s_indicatorPointToLabelReferencePointVectorMasks.size()
               ? s_indicatorPointToLabelReferencePointVectorMasks[index]
               : V::getZeroVector();
}

}  // namespace Varnek
