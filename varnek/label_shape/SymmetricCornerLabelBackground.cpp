#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <algorithm>
#include <array>
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

// The corner that the clockwise walk reaches after each side, in the order of
// LabelBackground::getAllSidesInClockwiseOrder(): the signs that place the
// upper-left table there (the negated centre mask of the side's clockwise
// end), and whether the table's axes are exchanged, which they are on Top and
// Bottom so that every corner is walked clockwise in table order.
struct CornerAfterSide {
    LabelBackground::Side side;
    float signX;
    float signY;
    bool exchangeAxes;
};

constexpr std::array<CornerAfterSide, 4> s_cornersAfterSides = {{
    {LabelBackground::Top, -1.0f, 1.0f, true},      // bottom-left
    {LabelBackground::Right, -1.0f, -1.0f, false},  // top-left
    {LabelBackground::Bottom, 1.0f, -1.0f, true},   // top-right
    {LabelBackground::Left, 1.0f, 1.0f, false},     // bottom-right
}};

// One corner: its arc centre, and the signs and axes that turn the upper-left
// table into it; scale and z as for every corner.
struct CornerPlacement {
    float arcX;
    float arcY;
    float signX;
    float signY;
    std::size_t a;  // the table component that goes to x; the other goes to y
    float scale;
    float z;
};

// Writes the n points of a corner table, scaled and mirrored into place.
void writeCorner(const V* table, std::size_t n, const CornerPlacement& c, V* out) {
    for (std::size_t k = 0; k < n; ++k) {
        out[k] = V(c.arcX + c.signX * table[k][c.a] * c.scale,
                   c.arcY + c.signY * table[k][1 - c.a] * c.scale, c.z);
    }
}

// The same for a table of N points: with the count known the loop is
// unrolled, instead of being turned into a vector loop with run-time checks
// that costs more than the five points it writes.
template <std::size_t N>
void writeCorner(const V* table, const CornerPlacement& c, V* out) {
    writeCorner(table, N, c, out);
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
    // The corner size and the indicator's size are each asked once.
    const V cornerSize = getNeededSizeForCornerInMaskedCoordinates();
    const V minimal =
        getMinimalBodySizeInMaskedCoordinates(referencePoint, V::getZeroVector(), cornerSize);
    const V withIndicator = getMinimalBodySizeInMaskedCoordinates(
        referencePoint,
        LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(referencePoint, getIndicator(),
                                                                    size),
        cornerSize);
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

    // Where the clockwise walk meets the indicator: before the corner that
    // follows its side. Without an indicator, or for Center, it meets none.
    const Side indicatorSide =
        indicator != nullptr ? getSideOfReferencePoint(referencePoint) : Undefined;
    std::size_t cornersBeforeIndicator = 0;
    while (cornersBeforeIndicator < s_cornersAfterSides.size() &&
           s_cornersAfterSides[cornersBeforeIndicator].side != indicatorSide) {
        ++cornersBeforeIndicator;
    }

    // The outline is sized once: the indicator appends its points first, they
    // are moved behind the corners that precede them, and the corners are
    // written in place, so that no point pays for a capacity check.
    const std::size_t cornerPoints = upperLeftCornerGeometry.size();
    std::vector<V> points;
    points.reserve(
        static_cast<std::size_t>(std::max(LabelIndicator::getNumberOfPolygonPoints(indicator), 0)) +
        4 * cornerPoints);
    if (cornersBeforeIndicator < s_cornersAfterSides.size()) {
        indicator->addPolygonPointsInClockwiseOrder(referencePoint, size, points);
    }
    const std::size_t indicatorPoints = points.size();
    points.resize(indicatorPoints + 4 * cornerPoints);
    V* const outline = points.data();
    std::copy_backward(outline, outline + indicatorPoints,
                       outline + cornersBeforeIndicator * cornerPoints + indicatorPoints);

    // The third component is the same for every corner point.
    const float z = (offset[2] + 0.0f) + scale * 0.0f;
    const float arcOffsetX = halfWidth - cornerSize[0];
    const float arcOffsetY = halfHeight - cornerSize[1];
    const V* const table = upperLeftCornerGeometry.data();
    CornerPlacement placement{};
    placement.scale = scale;
    placement.z = z;
    for (std::size_t i = 0; i < s_cornersAfterSides.size(); ++i) {
        const CornerAfterSide& corner = s_cornersAfterSides[i];
        placement.arcX = offset[0] + arcOffsetX * corner.signX;
        placement.arcY = offset[1] + arcOffsetY * corner.signY;
        placement.signX = corner.signX;
        placement.signY = corner.signY;
        placement.a = corner.exchangeAxes ? 1 : 0;
        V* const out =
            outline + i * cornerPoints + (i < cornersBeforeIndicator ? 0 : indicatorPoints);
        // The three tables of the class have 5, 2 and 1 points.
        switch (cornerPoints) {
            case 5:
                writeCorner<5>(table, placement, out);
                break;
            case 2:
                writeCorner<2>(table, placement, out);
                break;
            case 1:
                writeCorner<1>(table, placement, out);
                break;
            default:
                writeCorner(table, cornerPoints, placement, out);
                break;
        }
    }
    return points;
}

}  // namespace Varnek
