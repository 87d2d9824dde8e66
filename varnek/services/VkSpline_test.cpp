#include <varnek/services/VkSpline.h>

#include <gtest/gtest.h>

#include <limits>

namespace Varnek {
namespace {

using Point3d = Point<double, 3>;
using Vector3d = Vector<double, 3>;
using PolyLine3d = PolyLine<Point3d>;

// The parabola (10 t, 6 t^2, 0) as a cubic. For a piece of parameter length
// h, the curve's middle lies 6 h^2 / 4 straight below the chord's middle,
// wherever the piece is, so every tolerance gives uniform pieces.
VkSpline<double, 3> makeParabola(double tolerance) {
    VkSpline<double, 3> parabola(Point3d(0, 0, 0), Point3d(10, 6, 0), tolerance, Vector3d(),
                                 Vector3d());
    parabola.setBezierPoint(1, Point3d(10.0 / 3.0, 0, 0));
    parabola.setBezierPoint(2, Point3d(20.0 / 3.0, 2, 0));
    return parabola;
}

TEST(VkSplineTest, BezierPointsAndTangentsDescribeTheSameCubic) {
    VkSpline<double, 3> arc(Point3d(0, 0, 0), Point3d(10, 10, 0), 0.1, Vector3d(), Vector3d());
    EXPECT_EQ(arc.getPointAt(0.5), Point3d(5, 5, 0));  // default tangents: straight
    arc.setBezierPoint(1, Point3d(0, 5.5, 0));
    arc.setBezierPoint(2, Point3d(4.5, 10, 0));
    arc.setBezierPoint(4, Point3d(100, 100, 100));  // no such point: ignored
    EXPECT_EQ(arc.getPointAt(0.0), Point3d(0, 0, 0));
    EXPECT_EQ(arc.getPointAt(0.5), Point3d(2.9375, 7.0625, 0));  // (P0 + 3 P1 + 3 P2 + P3) / 8
    EXPECT_EQ(arc.getPointAt(1.0), Point3d(10, 10, 0));

    // Tangents of three times the control legs put the control points there too.
    const VkSpline<double, 3> hermite(Point3d(0, 0, 0), Point3d(10, 10, 0), 0.1,
                                      Vector3d(0, 16.5, 0), Vector3d(16.5, 0, 0));
    EXPECT_EQ(hermite.getPointAt(0.5), arc.getPointAt(0.5));
}

TEST(VkSplineTest, HalvesPiecesWhileTheCurveMissesTheChordMiddleByMoreThanTolerance) {
    const std::uint64_t most = (1u << VkSpline<double, 3>::s_maximalHalvings) + 1u;
    const struct {
        double tolerance;
        std::uint64_t points;
    } cases[] = {
        {1.6, 2},     // h = 1 misses by 1.5
        {1.4, 3},     // h = 1/2 misses by 0.375
        {0.1, 5},     // h = 1/4 misses by 0.09375
        {0.09, 9},    // a chord-line distance would leave the steep pieces whole
        {0.0, most},  // bounded however small the tolerance
        {-1.0, most},
        {std::numeric_limits<double>::quiet_NaN(), 2},
        {std::numeric_limits<double>::infinity(), 2},
    };
    for (const auto& c : cases) {
        const VkSpline<double, 3> parabola = makeParabola(c.tolerance);
        PolyLine3d polyLine(-1.0);
        parabola.calcPolyLine(polyLine);
        ASSERT_EQ(polyLine.numberOfPoints(), c.points) << c.tolerance;
        const std::uint64_t pieces = c.points - 1;
        for (std::uint64_t i = 0; i <= pieces; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(pieces);
            EXPECT_EQ(polyLine.getPoint(i), parabola.getPointAt(t)) << c.tolerance << " " << i;
        }
    }
}

}  // namespace
}  // namespace Varnek
