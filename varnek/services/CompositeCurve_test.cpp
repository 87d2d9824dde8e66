#include <varnek/services/CompositeCurve.h>
#include <varnek/services/VkSpline.h>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>

namespace Varnek {
namespace {

using Point3d = Point<double, 3>;
using Vector3d = Vector<double, 3>;
using PolyLine3d = PolyLine<Point3d>;

std::shared_ptr<VkSpline<double, 3>> makeLine(const Point3d& start, const Point3d& end) {
    return std::make_shared<VkSpline<double, 3>>(start, end, 0.1, Vector3d(), Vector3d());
}

// The balloon path's figures (57 points, 61.55 by 99.594) are pinned by the
// balloon background's tests, which build it from the label layer's data.
TEST(CompositeCurveTest, ChainsCurvesMergingTheirJointsAndNeverItself) {
    auto chain = std::make_shared<CompositeCurve<double, 3>>();
    PolyLine3d empty(0.1);
    chain->calcPolyLine(empty);
    EXPECT_EQ(empty.numberOfPoints(), 0u);

    auto inner = std::make_shared<CompositeCurve<double, 3>>();
    inner->appendCurve(makeLine(Point3d(0, 0, 0), Point3d(1, 0, 0)));
    chain->appendCurve(inner);
    chain->appendCurve(nullptr);
    chain->appendCurve(chain);  // refused: itself
    inner->appendCurve(chain);  // refused: chain holds inner
    chain->appendCurve(makeLine(Point3d(1, 0, 0), Point3d(1, 2, 0)));

    PolyLine3d polyLine(0.1);
    chain->calcPolyLine(polyLine);
    ASSERT_EQ(polyLine.numberOfPoints(), 3u);
    EXPECT_EQ(polyLine.getPoint(0), Point3d(0, 0, 0));
    EXPECT_EQ(polyLine.getPoint(1), Point3d(1, 0, 0));
    EXPECT_EQ(polyLine.getPoint(2), Point3d(1, 2, 0));
    EXPECT_THROW(polyLine.getPoint(3), std::out_of_range);

    // A negative or NaN tolerance merges not even equal points.
    PolyLine3d unmerged(std::numeric_limits<double>::quiet_NaN());
    chain->calcPolyLine(unmerged);
    EXPECT_EQ(unmerged.numberOfPoints(), 4u);
}

}  // namespace
}  // namespace Varnek
