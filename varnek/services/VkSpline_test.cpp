#include <varnek/services/VkSpline.h>

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

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

TEST(VkSplineTest, BezierAndTangentFormsDescribeTheSameCubic) {
    VkSpline<double, 3> arc(Point3d(0, 0, 0), Point3d(10, 10, 0), 0.1, Vector3d(), Vector3d());
    arc.setBezierPoint(1, Point3d(0, 5.5, 0));
    arc.setBezierPoint(2, Point3d(4.5, 10, 0));
    EXPECT_EQ(arc.getPointAt(0.0), Point3d(0, 0, 0));
    EXPECT_EQ(arc.getPointAt(1.0), Point3d(10, 10, 0));
    EXPECT_EQ(arc.getPointAt(0.5), Point3d(2.9375, 7.0625, 0));  // (P0 + 3 P1 + 3 P2 + P3) / 8

    // Tangents of three times the control legs give the same curve.
    const VkSpline<double, 3> hermite(Point3d(0, 0, 0), Point3d(10, 10, 0), 0.1,
                                      Vector3d(0, 16.5, 0), Vector3d(16.5, 0, 0));
    for (const double t : {0.25, 0.5, 0.75}) {
        const Point3d expected = arc.getPointAt(t);
        const Point3d actual = hermite.getPointAt(t);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(actual[axis], expected[axis], 1e-12) << t;
        }
    }

    // Default tangents give the straight segment; indices past 3 change nothing.
    VkSpline<double, 3> line(Point3d(0, 0, 0), Point3d(4, 2, 2), 0.1, Vector3d(), Vector3d());
    line.setBezierPoint(4, Point3d(100, 100, 100));
    EXPECT_EQ(line.getPointAt(0.5), Point3d(2, 1, 1));
    PolyLine3d polyLine(0.1);
    line.calcPolyLine(polyLine);
    EXPECT_EQ(polyLine.numberOfPoints(), 2u);
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

TEST(PolyLineTest, MergesPointsWithinToleranceOfTheLastOne) {
    const struct {
        double tolerance;
        std::uint64_t points;
    } cases[] = {
        {0.1, 3},   // (0.05, 0, 0) merges into the origin
        {0.0, 4},   // only the exact repeat merges
        {-1.0, 5},  // nothing merges
        {std::numeric_limits<double>::quiet_NaN(), 5},
    };
    for (const auto& c : cases) {
        PolyLine3d polyLine(c.tolerance);
        for (const Point3d& p : {Point3d(0, 0, 0), Point3d(0.05, 0, 0), Point3d(1, 0, 0),
                                 Point3d(1, 0, 0), Point3d(0, 0, 0)}) {
            polyLine.appendPoint(p);
        }
        EXPECT_EQ(polyLine.numberOfPoints(), c.points) << c.tolerance;
        EXPECT_EQ(polyLine.getPoint(0), Point3d(0, 0, 0));
        EXPECT_THROW(polyLine.getPoint(polyLine.numberOfPoints()), std::out_of_range);
    }
}

}  // namespace
}  // namespace Varnek
