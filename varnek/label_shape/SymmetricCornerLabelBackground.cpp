#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include <varnek/label_shape/internal/BodyOffset.h>
#include <varnek/label_shape/internal/IndicatorPoints.h>
#include <varnek/label_shape/internal/PolygonExtent.h>
#include <varnek/label_shape/internal/ReferencePointGeometry.h>

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

// The upper-left corners of the three shapes, as the header describes them.
// The values are written as hexadecimal literals so that every bit of the
// stored single-precision values is fixed: 0.006 * sin 22.5 degrees, for
// one, rounds one unit in the last place below the stored 0x3B167A2E.
constexpr float s_flatCornerRadius = 0x1.0624dep-8f;  // 0.004

// A quarter circle of radius 0.006 at 0, 22.5, 45, 67.5 and 90 degrees.
constexpr std::array<V, 5> s_roundCorner = {{
    {0x1.89374cp-8f, 0.0f, 0.0f},            // (0.006, 0)
    {0x1.6b48c2p-8f, 0x1.2cf45cp-9f, 0.0f},  // (0.00554327713, 0.00229610084)
    {0x1.160bb2p-8f, 0x1.160bb2p-8f, 0.0f},  // (0.00424264045, 0.00424264045)
    {0x1.2cf45cp-9f, 0x1.6b48c2p-8f, 0.0f},  // (0.00229610084, 0.00554327713)
    {0.0f, 0x1.89374cp-8f, 0.0f},            // (0, 0.006)
}};

// A chamfer at 45 degrees.
constexpr std::array<V, 2> s_flatCorner = {{
    {s_flatCornerRadius, 0.0f, 0.0f},
    {0.0f, s_flatCornerRadius, 0.0f},
}};

constexpr std::array<V, 1> s_rectangleCorner = {{V()}};

// The corner that the clockwise walk reaches after a side: the signs that
// place the upper-left table there, and whether the table's axes are
// exchanged.
struct CornerAfterSide {
    float signX;
    float signY;
    bool exchangeAxes;
};

constexpr std::size_t s_numberOfCorners = internal::s_numberOfSides;

// The walk turns round the body's corner at the clockwise end of the side's
// edge: seen from the arc centre that corner lies against the centre mask of
// the reference point there. A corner mirrored in one axis only would be
// walked against the table's order; exchanging the axes turns it back, so
// that every corner is walked clockwise in table order.
constexpr CornerAfterSide getCornerAfterSide(std::size_t side) {
    const Vector<float, 3>& mask = internal::s_centerMasks[static_cast<std::size_t>(
        internal::s_cornersOfSidesInClockwiseOrder[side])];
    return {-mask[0], -mask[1], mask[0] != mask[1]};
}

// What places the corners of one outline: the table, the scale factor, the
// body's centre, how far each arc centre lies from it, and the third
// component shared by every point.
struct CornerFrame {
    const V* table;
    float scale;
    float centerX;
    float centerY;
    float arcOffsetX;
    float arcOffsetY;
    float z;
};

// Writes corner I of the walk from a table of the given number of points.
// Given the number as a std::integral_constant, the signs, the exchange of
// axes and the number all fold into the code, and the points are a plain run of
// arithmetic and stores: x and y go out as one pair, so that a point takes
// two stores rather than three. Given a plain number, the same arithmetic
// runs in a loop.
template <std::size_t I, typename PointCount>
void writeCorner(const CornerFrame& frame, PointCount points, V* out) {
    constexpr CornerAfterSide corner = getCornerAfterSide(I);
    constexpr std::size_t a = corner.exchangeAxes ? 1 : 0;
    const float arcX = frame.centerX + frame.arcOffsetX * corner.signX;
    const float arcY = frame.centerY + frame.arcOffsetY * corner.signY;
    for (std::size_t k = 0; k < points; ++k) {
        const V& point = frame.table[k];
        const float xy[2] = {arcX + corner.signX * point[a] * frame.scale,
                             arcY + corner.signY * point[1 - a] * frame.scale};
        std::memcpy(&out[k][0], xy, sizeof xy);
        out[k][2] = frame.z;
    }
}

// Writes the four corners of a table of the given number of points into the outline,
// leaving room for the indicator's points before the corner that follows
// its side.
template <typename PointCount>
void writeCorners(const CornerFrame& frame, PointCount points, std::size_t cornersBeforeIndicator,
                  std::size_t indicatorPoints, V* outline) {
    const auto at = [&](std::size_t corner) {
        return outline + corner * points + (corner < cornersBeforeIndicator ? 0 : indicatorPoints);
    };
    writeCorner<0>(frame, points, at(0));
    writeCorner<1>(frame, points, at(1));
    writeCorner<2>(frame, points, at(2));
    writeCorner<3>(frame, points, at(3));
}

template <std::size_t N>
using FixedPointCount = std::integral_constant<std::size_t, N>;

// Two corners along each axis, and along the edge that carries the
// indicator also its full width. Internal and inline, so that the outline
// and the body offset take it in whole.
inline V getMinimalBodySize(LabelBackground::Side side, float indicatorWidth, const V& cornerSize) {
    float width = 2.0f * cornerSize[0];
    float height = 2.0f * cornerSize[1];
    if (side == LabelBackground::Top || side == LabelBackground::Bottom) {
        width += indicatorWidth;
    } else if (side == LabelBackground::Left || side == LabelBackground::Right) {
        height += indicatorWidth;
    }
    return {width, height, 0.0f};
}

// What an outline of the class is made of besides the indicator's points:
// where the corners go, how many points each has, and where the clockwise
// walk meets the indicator (before the corner that follows its side).
struct OutlineLayout {
    CornerFrame frame;
    std::size_t cornerPoints;
    std::size_t cornersBeforeIndicator;
    // Null when the walk meets no indicator (none, or Center).
    const LabelIndicator* indicator;

    std::size_t getPointsBeforeIndicator() const { return cornersBeforeIndicator * cornerPoints; }
    std::size_t getPointsAfterIndicator() const {
        return s_numberOfCorners * cornerPoints - getPointsBeforeIndicator();
    }
};

OutlineLayout layOutOutline(LabelBackground::ReferencePoint referencePoint, const V& size,
                            const std::vector<V>& upperLeftCornerGeometry, float scale,
                            const V& cornerSize, const LabelIndicator* indicator, const V& offset) {
    const LabelBackground::Side side = getSideOfReferencePoint(referencePoint);
    const V minimal =
        getMinimalBodySize(side,
                           LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
                               referencePoint, indicator, size)[0],
                           cornerSize);
    const float halfWidth = 0.5f * std::max(size[0], minimal[0]);
    const float halfHeight = 0.5f * std::max(size[1], minimal[1]);

    // Without an indicator, or for Center, the walk meets none.
    const LabelBackground::Side indicatorSide =
        indicator != nullptr ? side : LabelBackground::Undefined;
    const std::size_t cornersBeforeIndicator = indicatorSide == LabelBackground::Undefined
                                                   ? s_numberOfCorners
                                                   : static_cast<std::size_t>(indicatorSide);
    const float z = (offset[2] + 0.0f) + scale * 0.0f;
    const CornerFrame frame{
        upperLeftCornerGeometry.data(), scale, offset[0], offset[1], halfWidth - cornerSize[0],
        halfHeight - cornerSize[1],     z};
    return {frame, upperLeftCornerGeometry.size(), cornersBeforeIndicator,
            cornersBeforeIndicator < s_numberOfCorners ? indicator : nullptr};
}

// Writes the corners of the layout round indicatorPoints points already in place.
void writeCornersOfTable(const OutlineLayout& layout, std::size_t indicatorPoints, V* outline) {
    // Each table of the class has a writer unrolled for its number of
    // points; any other table takes the loop.
    const CornerFrame& frame = layout.frame;
    const std::size_t before = layout.cornersBeforeIndicator;
    switch (layout.cornerPoints) {
        case s_roundCorner.size():
            writeCorners(frame, FixedPointCount<s_roundCorner.size()>(), before, indicatorPoints,
                         outline);
            break;
        case s_flatCorner.size():
            writeCorners(frame, FixedPointCount<s_flatCorner.size()>(), before, indicatorPoints,
                         outline);
            break;
        case s_rectangleCorner.size():
            writeCorners(frame, FixedPointCount<s_rectangleCorner.size()>(), before,
                         indicatorPoints, outline);
            break;
        default:
            writeCorners(frame, layout.cornerPoints, before, indicatorPoints, outline);
            break;
    }
}

}  // namespace

constexpr float SymmetricCornerLabelBackground::s_flatCornerRadiusInScreenHeightFraction =
    s_flatCornerRadius;

const std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::s_upperLeftCornerRound(
    s_roundCorner.begin(), s_roundCorner.end());
const std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::s_upperLeftCornerFlat(
    s_flatCorner.begin(), s_flatCorner.end());
const std::vector<Vector<float, 3>>
    SymmetricCornerLabelBackground::s_upperLeftCornerSimpleRectangle(s_rectangleCorner.begin(),
                                                                     s_rectangleCorner.end());

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

std::shared_ptr<SymmetricCornerLabelBackground> SymmetricCornerLabelBackground::createRoundCornered(
    std::shared_ptr<LabelIndicator> indicator, float screenHeightFractionToMaskedSceneScaleFactor) {
    auto background = createRoundCornered(std::move(indicator));
    background->initialize(screenHeightFractionToMaskedSceneScaleFactor);
    return background;
}

std::shared_ptr<SymmetricCornerLabelBackground> SymmetricCornerLabelBackground::createFlatCornered(
    std::shared_ptr<LabelIndicator> indicator, float screenHeightFractionToMaskedSceneScaleFactor) {
    auto background = createFlatCornered(std::move(indicator));
    background->initialize(screenHeightFractionToMaskedSceneScaleFactor);
    return background;
}

std::shared_ptr<SymmetricCornerLabelBackground>
SymmetricCornerLabelBackground::createSimpleRectangle(
    std::shared_ptr<LabelIndicator> indicator, float screenHeightFractionToMaskedSceneScaleFactor) {
    auto background = createSimpleRectangle(std::move(indicator));
    background->initialize(screenHeightFractionToMaskedSceneScaleFactor);
    return background;
}

SymmetricCornerLabelBackground::SymmetricCornerLabelBackground(
    const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
    std::shared_ptr<LabelIndicator> indicator)
    : LabelBackground(std::move(indicator)),
      m_upperLeftCornerGeometryInScreenHeightFraction(upperLeftCornerGeometry),
      m_neededSizeForCornerInScreenHeightFraction(getExtentOfCorner(upperLeftCornerGeometry)) {}

SymmetricCornerLabelBackground::~SymmetricCornerLabelBackground() = default;

Vector<float, 3> SymmetricCornerLabelBackground::getNeededSizeForCornerInMaskedCoordinates()
    const noexcept {
    const float scale = getScreenHeightFractionToMaskedSceneScaleFactor();
    const V& corner = m_neededSizeForCornerInScreenHeightFraction;
    return {corner[0] * scale, corner[1] * scale, corner[2] * scale};
}

Vector<float, 3> SymmetricCornerLabelBackground::getMinimalBodySizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& indicatorSize,
    const Vector<float, 3>& cornerSize) noexcept {
    return getMinimalBodySize(getSideOfReferencePoint(referencePoint), indicatorSize[0],
                              cornerSize);
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
    ReferencePoint referencePoint) const noexcept {
    return getMinimalBodySizeInMaskedCoordinates(referencePoint, V::getZeroVector(),
                                                 getNeededSizeForCornerInMaskedCoordinates());
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint) const noexcept {
    return getMinimalBodySizeInMaskedCoordinates(
        referencePoint,
        LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(getIndicator()),
        getNeededSizeForCornerInMaskedCoordinates());
}

Vector<float, 3>
SymmetricCornerLabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
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

int SymmetricCornerLabelBackground::getNumberOfPolygonPointsWithoutIndicatorPoints()
    const noexcept {
    return 4 * static_cast<int>(getUpperLeftCornerGeometryInScreenHeightFraction().size());
}

Vector<float, 3> SymmetricCornerLabelBackground::getBodyOffset(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept {
    // The indicator's width and the corner size are each asked once.
    const float indicatorWidth = LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
        referencePoint, getIndicator(), size)[0];
    const V cornerSize = getNeededSizeForCornerInMaskedCoordinates();
    const Side side = getSideOfReferencePoint(referencePoint);
    const V minimal = getMinimalBodySize(side, 0.0f, cornerSize);
    const V withIndicator = getMinimalBodySize(side, indicatorWidth, cornerSize);
    const V body(std::max(size[0], withIndicator[0]), std::max(size[1], withIndicator[1]), 0.0f);
    return internal::getAxiallySymmetricBodyOffset(
        side, getReferencePointToLabelCenterVectorMask(referencePoint), body, minimal);
}

std::vector<Vector<float, 3>> SymmetricCornerLabelBackground::getPolygon(
    ReferencePoint referencePoint, const Vector<float, 3>& size,
    const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
    float screenHeightFractionToMaskedSceneScaleFactor, const Vector<float, 3>& cornerSize,
    const LabelIndicator* indicator, const Vector<float, 3>& offset) {
    const OutlineLayout layout =
        layOutOutline(referencePoint, size, upperLeftCornerGeometry,
                      screenHeightFractionToMaskedSceneScaleFactor, cornerSize, indicator, offset);
    // The outline is allocated once, at its final size; the indicator's
    // points go to their place and the corners are written round them.
    std::size_t indicatorPoints = 0;
    std::vector<V> points = internal::makePolygonAroundIndicatorPoints(
        layout.indicator, referencePoint, size, layout.getPointsBeforeIndicator(),
        layout.getPointsAfterIndicator(), indicatorPoints);
    writeCornersOfTable(layout, indicatorPoints, points.data());
    return points;
}

void SymmetricCornerLabelBackground::appendPolygonPoints(
    ReferencePoint referencePoint, const Vector<float, 3>& size, const Vector<float, 3>& offset,
    std::vector<Vector<float, 3>>& points) const {
    const OutlineLayout layout =
        layOutOutline(referencePoint, size, getUpperLeftCornerGeometryInScreenHeightFraction(),
                      getScreenHeightFractionToMaskedSceneScaleFactor(),
                      getNeededSizeForCornerInMaskedCoordinates(), getIndicator(), offset);
    const std::size_t base = points.size();
    const std::size_t indicatorPoints = internal::appendPolygonAroundIndicatorPoints(
        layout.indicator, referencePoint, size, layout.getPointsBeforeIndicator(),
        layout.getPointsAfterIndicator(), points);
    writeCornersOfTable(layout, indicatorPoints, points.data() + base);
}

void SymmetricCornerLabelBackground::findPolygonExtent(ReferencePoint referencePoint,
                                                       const Vector<float, 3>& size,
                                                       const Vector<float, 3>& offset,
                                                       Vector<float, 3>& minimum,
                                                       Vector<float, 3>& maximum) const {
    const OutlineLayout layout =
        layOutOutline(referencePoint, size, getUpperLeftCornerGeometryInScreenHeightFraction(),
                      getScreenHeightFractionToMaskedSceneScaleFactor(),
                      getNeededSizeForCornerInMaskedCoordinates(), getIndicator(), offset);
    // The outline is written to the stack and measured; an indicator of
    // more points than fit, or one that only appends, takes the general way.
    std::array<V, 32> outline;
    const std::size_t pointsBefore = layout.getPointsBeforeIndicator();
    const std::size_t cornerPoints = pointsBefore + layout.getPointsAfterIndicator();
    const int declared = LabelIndicator::getNumberOfPolygonPoints(layout.indicator);
    const std::size_t indicatorPoints = static_cast<std::size_t>(std::max(declared, 0));
    if (cornerPoints + indicatorPoints > outline.size() ||
        (layout.indicator != nullptr && !layout.indicator->writePolygonPointsInClockwiseOrder(
                                            referencePoint, size, outline.data() + pointsBefore))) {
        LabelBackground::findPolygonExtent(referencePoint, size, offset, minimum, maximum);
        return;
    }
    const std::size_t written = layout.indicator != nullptr ? indicatorPoints : 0;
    writeCornersOfTable(layout, written, outline.data());
    internal::PolygonExtent extent;
    for (std::size_t i = 0; i < cornerPoints + written; ++i) {
        extent.add(outline[i]);
    }
    minimum = extent.minimum;
    maximum = extent.maximum;
}

}  // namespace Varnek
