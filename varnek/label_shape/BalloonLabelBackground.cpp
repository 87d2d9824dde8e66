// The balloon outline: built once in double precision through the geometry
// library, stored as floats, and scaled to the label's width on request.
#include <varnek/label_shape/BalloonLabelBackground.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include <varnek/label_shape/internal/PolygonExtent.h>
#include <varnek/services/CompositeCurve.h>
#include <varnek/services/Point.h>
#include <varnek/services/PolyLine.h>
#include <varnek/services/VkSpline.h>

namespace Varnek {

namespace {

// How closely the geometry library approximates the path, in path units.
constexpr double s_pathTolerance = 0.1;

Point<double, 3> pointRelativeTo(const Point<double, 3>& start, double dx, double dy) {
    Point<double, 3> point;
    point[0] = start[0] + dx;
    point[1] = start[1] + dy;
    point[2] = start[2];
    return point;
}

}  // namespace

BalloonLabelBackground::BalloonLabelBackground() : LabelBackground(nullptr) {
    buildUnscaledPolygonBackground();
}

BalloonLabelBackground::BalloonLabelBackground(float screenHeightFractionToMaskedSceneScaleFactor)
    : BalloonLabelBackground() {
    initialize(screenHeightFractionToMaskedSceneScaleFactor);
}

BalloonLabelBackground::~BalloonLabelBackground() = default;

void BalloonLabelBackground::buildUnscaledPolygonBackground() {
    const Vector<float, 3>& tip = Vector<float, 3>::getZeroVector();
    Point<double, 3> start(tip[0], tip[1], tip[2]);

    CompositeCurve<double, 3> path;
    for (std::size_t i = 0; i < s_bezier.size(); i += 6) {
        const Point<double, 3> control1 = pointRelativeTo(start, s_bezier[i], s_bezier[i + 1]);
        const Point<double, 3> control2 = pointRelativeTo(start, s_bezier[i + 2], s_bezier[i + 3]);
        const Point<double, 3> end = pointRelativeTo(start, s_bezier[i + 4], s_bezier[i + 5]);
        auto segment = std::make_shared<VkSpline<double, 3>>(
            start, end, s_pathTolerance, Vector<double, 3>(), Vector<double, 3>());
        segment->setBezierPoint(1, control1);
        segment->setBezierPoint(2, control2);
        path.appendCurve(std::move(segment));
        start = end;
    }

    PolyLine<Point<double, 3>> polyLine(s_pathTolerance);
    path.calcPolyLine(polyLine);

    // Built aside and swapped in, so that a failure keeps the previous outline.
    std::vector<Vector<float, 3>> outline;
    const auto count = static_cast<std::int32_t>(polyLine.numberOfPoints());
    if (count > 0) {
        outline.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            const Point<double, 3>& p = polyLine.getPoint(static_cast<std::size_t>(i));
            outline.emplace_back(static_cast<float>(p[0]), static_cast<float>(p[1]),
                                 static_cast<float>(p[2]));
        }
    }
    m_unscaledPolygonBackground.swap(outline);
}

float BalloonLabelBackground::getBalloonWidthHeightRatio() noexcept {
    return s_balloonWidthHeightRatio;
}

Vector<float, 3> BalloonLabelBackground::getMinimalBodySizeInMaskedCoordinates(
    ReferencePoint /*referencePoint*/, const Vector<float, 3>& /*size*/,
    const Vector<float, 3>& /*indicatorSize*/) noexcept {
    return Vector<float, 3>::getZeroVector();
}

Vector<float, 3> BalloonLabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
    ReferencePoint referencePoint) const {
    const Vector<float, 3>& zero = Vector<float, 3>::getZeroVector();
    return getMinimalBodySizeInMaskedCoordinates(referencePoint, zero, zero);
}

Vector<float, 3>
BalloonLabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint) const {
    const Vector<float, 3>& zero = Vector<float, 3>::getZeroVector();
    return getMinimalBodySizeInMaskedCoordinates(referencePoint, zero, zero);
}

Vector<float, 3>
BalloonLabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
    ReferencePoint referencePoint, const Vector<float, 3>& size) const {
    return getMinimalBodySizeInMaskedCoordinates(referencePoint, size,
                                                 Vector<float, 3>::getZeroVector());
}

std::vector<Vector<float, 3>> BalloonLabelBackground::getPolygon(
    ReferencePoint /*referencePoint*/, const Vector<float, 3>& size,
    const Vector<float, 3>& /*offset*/) const {
    // The tip stays on the anchor: the outline is scaled about it, not moved.
    const float factor = size[0] / s_widthOfPolyLine;
    // Sized once and written in place: the loop then has no capacity check
    // per point and the compiler can scale several points at a time.
    std::vector<Vector<float, 3>> polygon(m_unscaledPolygonBackground.size());
    std::transform(m_unscaledPolygonBackground.begin(), m_unscaledPolygonBackground.end(),
                   polygon.begin(), [factor](const Vector<float, 3>& p) {
                       return Vector<float, 3>(p[0] * factor, p[1] * factor, p[2] * factor);
                   });
    return polygon;
}

void BalloonLabelBackground::appendPolygonPoints(ReferencePoint /*referencePoint*/,
                                                 const Vector<float, 3>& size,
                                                 const Vector<float, 3>& /*offset*/,
                                                 std::vector<Vector<float, 3>>& points) const {
    const float factor = size[0] / s_widthOfPolyLine;
    const std::size_t base = points.size();
    points.resize(base + m_unscaledPolygonBackground.size());
    std::transform(m_unscaledPolygonBackground.begin(), m_unscaledPolygonBackground.end(),
                   points.begin() + static_cast<std::ptrdiff_t>(base),
                   [factor](const Vector<float, 3>& p) {
                       return Vector<float, 3>(p[0] * factor, p[1] * factor, p[2] * factor);
                   });
}

void BalloonLabelBackground::findPolygonExtent(ReferencePoint /*referencePoint*/,
                                               const Vector<float, 3>& size,
                                               const Vector<float, 3>& /*offset*/,
                                               Vector<float, 3>& minimum,
                                               Vector<float, 3>& maximum) const {
    const float factor = size[0] / s_widthOfPolyLine;
    internal::PolygonExtent extent;
    for (const Vector<float, 3>& p : m_unscaledPolygonBackground) {
        extent.add(Vector<float, 3>(p[0] * factor, p[1] * factor, p[2] * factor));
    }
    minimum = extent.minimum;
    maximum = extent.maximum;
}

int BalloonLabelBackground::getNumberOfPolygonPointsWithoutIndicatorPoints() const {
    return s_numberOfPolyLinePoints;
}

Vector<float, 3> BalloonLabelBackground::getBodyOffset(ReferencePoint /*referencePoint*/,
                                                       const Vector<float, 3>& size) const {
    const float height = size[0] / s_balloonWidthHeightRatio;
    return {0.0f, height * s_balloonCircleCenterRatioY, 0.0f};
}

}  // namespace Varnek
