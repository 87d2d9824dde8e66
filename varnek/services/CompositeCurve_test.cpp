#include <varnek/services/CompositeCurve.h>
#include <varnek/services/VkSpline.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

namespace Varnek {
namespace {

using Point3d = Point<double, 3>;
using Vector3d = Vector<double, 3>;
using PolyLine3d = PolyLine<Point3d>;
using Spline3d = VkSpline<double, 3>;

std::shared_ptr<Spline3d> makeLine(const Point3d& start, const Point3d& end) {
    return std::make_shared<Spline3d>(start, end, 0.1, Vector3d(), Vector3d());
}

TEST(CompositeCurveTest, ChainsCurvesAndMergesTheirJoints) {
    CompositeCurve<double, 3> chain;
    PolyLine3d empty(0.1);
    chain.calcPolyLine(empty);
    EXPECT_EQ(empty.numberOfPoints(), 0u);

    chain.appendCurve(makeLine(Point3d(0, 0, 0), Point3d(1, 0, 0)));
    chain.appendCurve(nullptr);
    chain.appendCurve(makeLine(Point3d(1, 0, 0), Point3d(1, 2, 0)));
    PolyLine3d polyLine(0.1);
    chain.calcPolyLine(polyLine);
    ASSERT_EQ(polyLine.numberOfPoints(), 3u);
    EXPECT_EQ(polyLine.getPoint(1), Point3d(1, 0, 0));
    EXPECT_EQ(polyLine.getPoint(2), Point3d(1, 2, 0));
}

TEST(CompositeCurveTest, NeverContainsItself) {
    auto outer = std::make_shared<CompositeCurve<double, 3>>();
    auto inner = std::make_shared<CompositeCurve<double, 3>>();
    inner->appendCurve(makeLine(Point3d(0, 0, 0), Point3d(1, 0, 0)));
    outer->appendCurve(inner);
    outer->appendCurve(outer);  // refused: itself
    inner->appendCurve(outer);  // refused: outer holds inner
    PolyLine3d polyLine(0.1);
    outer->calcPolyLine(polyLine);
    EXPECT_EQ(polyLine.numberOfPoints(), 2u);
}

// Thirteen cubic Bézier segments, each relative to its start: control 1,
// control 2, end. The label layer expects this path's polyline at
// tolerance 0.1 to have 57 points and extents 61.55 by 99.594.
// clang-format off
constexpr std::array<double, 78> s_balloonPath{
    2.28035, 11.1942, 6.30094, 20.5097, 11.1708, 29.1435,
    3.61218, 6.40424, 7.7967, 12.3155, 11.6685, 18.5258,
    1.29247, 2.07318, 2.40788, 4.26336, 3.64982, 6.41495,
    2.48329, 4.30217, 4.49671, 9.29029, 4.36876, 15.7607,
    -0.125, 6.32194, -1.95341, 11.3932, -4.59, 15.5395,
    -4.33641, 6.8197, -11.6001, 12.4111, -21.3461, 13.8805,
    -7.96859, 1.20141, -15.4397, -0.828353, -20.7378, -3.92635,
    -4.32941, -2.53165, -7.68212, -5.91335, -10.2306, -9.89882,
    -2.66, -4.15976, -4.49171, -9.07412, -4.64535, -15.4842,
    -0.0786492, -3.28412, 0.459114, -6.32541, 1.2167, -8.84812,
    0.766702, -2.55347, 1.99976, -4.68794, 3.09682, -6.96788,
    2.14153, -4.45053, 4.82641, -8.52835, 7.52088, -12.6086,
    8.02571, -12.1533, 15.5586, -24.5476, 18.8576, -41.531};
// clang-format on

TEST(CompositeCurveTest, BalloonPathGivesTheFiguresTheLabelLayerExpects) {
    CompositeCurve<double, 3> path;
    Point3d start;
    for (std::size_t i = 0; i < s_balloonPath.size(); i += 6) {
        const auto at = [&](std::size_t k) {
            return Point3d(start[0] + s_balloonPath[i + k], start[1] + s_balloonPath[i + k + 1], 0);
        };
        const Point3d end = at(4);
        auto segment = std::make_shared<Spline3d>(start, end, 0.1, Vector3d(), Vector3d());
        segment->setBezierPoint(1, at(0));
        segment->setBezierPoint(2, at(2));
        path.appendCurve(segment);
        start = end;
    }
    PolyLine3d polyLine(0.1);
    path.calcPolyLine(polyLine);

    ASSERT_EQ(polyLine.numberOfPoints(), 57u);
    std::array<double, 2> low{0, 0};
    std::array<double, 2> high{0, 0};
    for (std::size_t i = 0; i < polyLine.numberOfPoints(); ++i) {
        for (std::size_t axis = 0; axis < 2; ++axis) {
            low[axis] = std::min(low[axis], polyLine.getPoint(i)[axis]);
            high[axis] = std::max(high[axis], polyLine.getPoint(i)[axis]);
        }
    }
    EXPECT_NEAR(high[0] - low[0], 61.55, 0.0005);
    EXPECT_NEAR(high[1] - low[1], 99.594, 0.0005);
}

}  // namespace
}  // namespace Varnek
