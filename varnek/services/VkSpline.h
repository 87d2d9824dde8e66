// Stand-in for the geometry library's spline segment: one cubic curve from a
// start to an end point, held as its four Bézier points. It approximates
// itself by halving its parameter range until every piece is flat enough.
#ifndef VARNEK_SERVICES_VKSPLINE_H
#define VARNEK_SERVICES_VKSPLINE_H

#include <array>
#include <cmath>

#include <varnek/services/Curve.h>
#include <varnek/services/Point.h>
#include <varnek/services/PolyLine.h>
#include <varnek/services/Vector.h>

namespace Varnek {

template <typename T, int Dimension>
class VkSpline;

template <typename T>
class VARNEK_GEOMETRY_VISIBLE VkSpline<T, 3> : public Curve<T, 3> {
public:
    // The cubic from start to end with the given tangents (derivatives) at
    // its ends; zero tangents give the straight segment. A piece of the
    // polyline approximation is halved while the curve at the middle of its
    // parameter range lies farther than tolerance from the middle of its
    // chord.
    VkSpline(const Point<T, 3>& start, const Point<T, 3>& end, double tolerance,
             const Vector<T, 3>& startTangent, const Vector<T, 3>& endTangent)
        : m_bezierPoints{start, offsetBy(start, startTangent, T(1)),
                         offsetBy(end, endTangent, T(-1)), end},
          m_tolerance(tolerance) {}

    // Sets Bézier point index: 0 the start, 1 and 2 the control points, 3
    // the end. Any other index changes nothing.
    void setBezierPoint(unsigned int index, const Point<T, 3>& point) {
        if (index < m_bezierPoints.size()) {
            m_bezierPoints[index] = point;
        }
    }

    // The point of the curve at parameter t (0 the start, 1 the end).
    Point<T, 3> getPointAt(T t) const {
        const T s = T(1) - t;
        const std::array<T, 4> weights{s * s * s, T(3) * s * s * t, T(3) * s * t * t, t * t * t};
        Point<T, 3> result;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            for (std::size_t i = 0; i < 4; ++i) {
                result[axis] += weights[i] * m_bezierPoints[i][axis];
            }
        }
        return result;
    }

    // Appends the start point and the end point of every piece. However
    // small (or NaN) the tolerance, a curve gives at most
    // 2^s_maximalHalvings pieces.
    void calcPolyLine(PolyLine<Point<T, 3>>& polyLine) const override {
        polyLine.appendPoint(m_bezierPoints[0]);
        appendPieceEnds(polyLine, T(0), m_bezierPoints[0], T(1), m_bezierPoints[3], 0);
    }

    // The most times a piece of the parameter range is halved.
    static constexpr int s_maximalHalvings = 10;

private:
    // A cubic's control point lies a third of the end's tangent from the end.
    static Point<T, 3> offsetBy(const Point<T, 3>& point, const Vector<T, 3>& tangent, T sign) {
        return {point[0] + sign * tangent[0] / T(3), point[1] + sign * tangent[1] / T(3),
                point[2] + sign * tangent[2] / T(3)};
    }

    // Distance of the curve's point from the chord's middle.
    static double deviation(const Point<T, 3>& onCurve, const Point<T, 3>& a,
                            const Point<T, 3>& b) {
        const T half(0.5);
        return static_cast<double>(std::hypot(onCurve[0] - half * (a[0] + b[0]),
                                              onCurve[1] - half * (a[1] + b[1]),
                                              onCurve[2] - half * (a[2] + b[2])));
    }

    void appendPieceEnds(PolyLine<Point<T, 3>>& polyLine, T t0, const Point<T, 3>& p0, T t1,
                         const Point<T, 3>& p1, int halvings) const {
        const T tMiddle = T(0.5) * (t0 + t1);
        const Point<T, 3> pMiddle = getPointAt(tMiddle);
        if (halvings < s_maximalHalvings && deviation(pMiddle, p0, p1) > m_tolerance) {
            appendPieceEnds(polyLine, t0, p0, tMiddle, pMiddle, halvings + 1);
            appendPieceEnds(polyLine, tMiddle, pMiddle, t1, p1, halvings + 1);
        } else {
            polyLine.appendPoint(p1);
        }
    }

    std::array<Point<T, 3>, 4> m_bezierPoints;
    double m_tolerance;
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_VKSPLINE_H
