#include <varnek/label_shape/LabelBackground.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/label_shape/internal/BodyOffset.h>
#include <varnek/label_shape/internal/EarClipping.h>
#include <varnek/label_shape/internal/IndicatorPoints.h>
#include <varnek/label_shape/internal/PolygonExtent.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;
using Side = LabelBackground::Side;

using internal::EdgePlace;
using internal::Placement;
using internal::s_numberOfPlacedReferencePoints;
using internal::s_placements;

// The row of a placed reference point, or null for Center and out of range.
// The unsigned comparison sends every negative value out of range.
const Placement* findPlacement(ReferencePoint referencePoint) {
    const auto index = static_cast<unsigned int>(referencePoint);
    return index < s_numberOfPlacedReferencePoints ? &s_placements[index] : nullptr;
}

bool isPlacedAt(ReferencePoint referencePoint, EdgePlace place) {
    const Placement* placement = findPlacement(referencePoint);
    return placement != nullptr && placement->place == place;
}

}  // namespace

constexpr std::array<Vector<float, 3>, 12>
    LabelBackground::s_referencePointToLabelCenterVectorMasks = internal::s_centerMasks;

LabelBackground::LabelBackground(std::shared_ptr<LabelIndicator> indicator)
    : m_screenHeightFractionToMaskedSceneScaleFactor(-1.0f),
      m_initialized(false),
      m_indicator(std::move(indicator)) {}

LabelBackground::~LabelBackground() = default;

void LabelBackground::initialize(float screenHeightFractionToMaskedSceneScaleFactor) noexcept {
    m_screenHeightFractionToMaskedSceneScaleFactor = screenHeightFractionToMaskedSceneScaleFactor;
    m_initialized = true;
    if (m_indicator) {
        m_indicator->initialize(screenHeightFractionToMaskedSceneScaleFactor);
    }
}

const LabelIndicator* LabelBackground::getIndicator(const LabelBackground* background) noexcept {
    return background != nullptr ? background->getIndicator() : nullptr;
}

Vector<float, 3> LabelBackground::getBodySizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const {
    const Vector<float, 3> minimal =
        getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(referencePoint, size);
    return {std::max(size[0], minimal[0]), std::max(size[1], minimal[1]), 0.0f};
}

Vector<float, 3> LabelBackground::getCompleteSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const {
    const LabelIndicator* indicator = getIndicator();
    const Vector<float, 3> indicatorSize =
        LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(referencePoint, indicator,
                                                                    size);
    const Vector<float, 3> indicatorHeight = LabelIndicator::getSizeRotatedToSide(
        referencePoint, indicator, {0.0f, indicatorSize[1], 0.0f});
    Vector<float, 3> complete = getBodySizeInMaskedCoordinates(referencePoint, size);
    complete += indicatorHeight;
    return complete;
}

Vector<float, 3> LabelBackground::getOffset(ReferencePoint referencePoint,
                                            const Vector<float, 3>& size) const {
    Vector<float, 3> offset = getBodyOffset(referencePoint, size);
    offset += LabelIndicator::getOffset(referencePoint, getIndicator(), size);
    return offset;
}

std::vector<Vector<float, 3>> LabelBackground::getIndicatorPolygon(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const {
    std::size_t indicatorPoints = 0;
    return internal::makePolygonAroundIndicatorPoints(getIndicator(), referencePoint, size, 0, 0,
                                                      indicatorPoints);
}

void LabelBackground::appendPolygon(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                    const Vector<float, 3>& offset,
                                    std::vector<Vector<float, 3>>& points) const {
    appendPolygonPoints(referencePoint, size, offset, points);
}

std::vector<std::uint32_t> LabelBackground::getPolygonTriangles(
    const std::vector<Vector<float, 3>>& polygon) {
    // One allocation: the scratch of the clipping goes in front of the
    // triangles and is moved out of the way at the end.
    const std::size_t count = polygon.size();
    const std::size_t scratch = internal::getEarClippingScratchSize(count);
    std::vector<std::uint32_t> indices;
    indices.reserve(scratch + (count >= 3 ? 3 * (count - 2) : 0));
    indices.resize(scratch);
    internal::clipEars(polygon.data(), count, 0, indices.data(), indices);
    indices.erase(indices.begin(), indices.begin() + static_cast<std::ptrdiff_t>(scratch));
    return indices;
}

void LabelBackground::getPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                       const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                                       Vector<float, 3>& maximum) const {
    findPolygonExtent(referencePoint, size, offset, minimum, maximum);
}

void LabelBackground::appendPolygonPoints(ReferencePoint referencePoint,
                                          const Vector<float, 3>& size,
                                          const Vector<float, 3>& offset,
                                          std::vector<Vector<float, 3>>& points) const {
    const std::vector<Vector<float, 3>> polygon = getPolygon(referencePoint, size, offset);
    points.insert(points.end(), polygon.begin(), polygon.end());
}

void LabelBackground::findPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                        const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                                        Vector<float, 3>& maximum) const {
    const std::vector<Vector<float, 3>> polygon = getPolygon(referencePoint, size, offset);
    internal::PolygonExtent extent;
    for (const Vector<float, 3>& point : polygon) {
        extent.add(point);
    }
    minimum = extent.minimum;
    maximum = extent.maximum;
}

int LabelBackground::getNumberOfPolygonPoints() const {
    return getNumberOfPolygonPointsWithoutIndicatorPoints() +
           LabelIndicator::getNumberOfPolygonPoints(getIndicator());
}

Vector<float, 3> LabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelBackground* background) {
    return background != nullptr
               ? background->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(referencePoint)
               : Vector<float, 3>::getZeroVector();
}

Vector<float, 3> LabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelBackground* background) {
    return background != nullptr
               ? background->getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
                     referencePoint)
               : Vector<float, 3>::getZeroVector();
}

Vector<float, 3> LabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelBackground* background,
    const Vector<float, 3>& size) {
    return background != nullptr
               ? background->getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
                     referencePoint, size)
               : Vector<float, 3>::getZeroVector();
}

Vector<float, 3> LabelBackground::getBodySizeInMaskedCoordinates(ReferencePoint referencePoint,
                                                                 const LabelBackground* background,
                                                                 const Vector<float, 3>& size) {
    return background != nullptr ? background->getBodySizeInMaskedCoordinates(referencePoint, size)
                                 : Vector<float, 3>::getZeroVector();
}

Vector<float, 3> LabelBackground::getCompleteSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const LabelBackground* background,
    const Vector<float, 3>& size) {
    return background != nullptr
               ? background->getCompleteSizeInMaskedCoordinates(referencePoint, size)
               : Vector<float, 3>::getZeroVector();
}

Vector<float, 3> LabelBackground::getAxiallySymmetricBodyOffset(
    ReferencePoint referencePoint, const Vector<float, 3>& bodySize,
    const Vector<float, 3>& minimalBodySize) noexcept {
    return internal::getAxiallySymmetricBodyOffset(
        getSideOfReferencePoint(referencePoint),
        getReferencePointToLabelCenterVectorMask(referencePoint), bodySize, minimalBodySize);
}

std::array<LabelBackground::Side, 4> LabelBackground::getAllSidesInClockwiseOrder() noexcept {
    return {Top, Right, Bottom, Left};
}

const Vector<float, 3>& LabelBackground::getReferencePointToLabelCenterVectorMask(
    ReferencePoint referencePoint) noexcept {
    const auto index = static_cast<unsigned int>(referencePoint);
    return index < s_referencePointToLabelCenterVectorMasks.size()
               ? s_referencePointToLabelCenterVectorMasks[index]
               : Vector<float, 3>::getZeroVector();
}

bool isTopSide(ReferencePoint referencePoint) noexcept {
    return getSideOfReferencePoint(referencePoint) == LabelBackground::Top;
}

bool isBottomSide(ReferencePoint referencePoint) noexcept {
    return getSideOfReferencePoint(referencePoint) == LabelBackground::Bottom;
}

bool isLeftSide(ReferencePoint referencePoint) noexcept {
    return getSideOfReferencePoint(referencePoint) == LabelBackground::Left;
}

bool isRightSide(ReferencePoint referencePoint) noexcept {
    return getSideOfReferencePoint(referencePoint) == LabelBackground::Right;
}

bool isTopOrBottomSide(ReferencePoint referencePoint) noexcept {
    return isTopSide(referencePoint) || isBottomSide(referencePoint);
}

bool isLeftOrRightSide(ReferencePoint referencePoint) noexcept {
    return isLeftSide(referencePoint) || isRightSide(referencePoint);
}

bool isCenterAligned(ReferencePoint referencePoint) noexcept {
    return referencePoint == LabelBackground::Center ||
           isPlacedAt(referencePoint, EdgePlace::Middle);
}

bool isTopAlignedRotationSymmetric(ReferencePoint referencePoint) noexcept {
    return isPlacedAt(referencePoint, EdgePlace::End);
}

bool isBottomAlignedRotationSymmetric(ReferencePoint referencePoint) noexcept {
    return isPlacedAt(referencePoint, EdgePlace::Start);
}

bool isReferencePointOnSide(ReferencePoint referencePoint, Side side) noexcept {
    return side != LabelBackground::Undefined && getSideOfReferencePoint(referencePoint) == side;
}

Side getSideOfReferencePoint(ReferencePoint referencePoint) noexcept {
    const Placement* placement = findPlacement(referencePoint);
    return placement != nullptr ? placement->side : LabelBackground::Undefined;
}

ReferencePoint getCornerOfSideInClockwiseOrder(Side side) noexcept {
    const auto index = static_cast<unsigned int>(side);
    return index < internal::s_cornersOfSidesInClockwiseOrder.size()
               ? internal::s_cornersOfSidesInClockwiseOrder[index]
               : LabelBackground::Center;
}

ReferencePoint getMirrored(ReferencePoint referencePoint) noexcept {
    const auto index = static_cast<unsigned int>(referencePoint);
    return index < internal::s_mirrored.size() ? internal::s_mirrored[index]
                                               : LabelBackground::Center;
}

const char* toString(ReferencePoint referencePoint) noexcept {
    if (referencePoint == LabelBackground::Center) {
        return "Center";
    }
    const Placement* placement = findPlacement(referencePoint);
    return placement != nullptr ? placement->name : "unknown";
}

int toIndex(Side side) noexcept {
    return side;
}

}  // namespace Varnek
