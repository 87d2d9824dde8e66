// Building a polygon round an indicator's outline. Private to the library's
// sources; not installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_INDICATORPOINTS_H
#define VARNEK_LABEL_SHAPE_INTERNAL_INDICATORPOINTS_H

#include <algorithm>
#include <cstddef>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// A polygon of pointsBefore points, then the indicator's outline (none
// without an indicator), then pointsAfter points, with the indicator's points
// in place and their number in indicatorPoints; the other points are zero,
// for the caller to write.
//
// The vector is constructed at its size: resizing an empty one takes the
// vector's general growth path, an out-of-line call that cost a sixth of a
// label outline. An indicator that cannot write in place appends, and its
// points move behind the first pointsBefore.
inline std::vector<Vector<float, 3>> makePolygonAroundIndicatorPoints(
    const LabelIndicator* indicator, LabelBackground::ReferencePoint referencePoint,
    const Vector<float, 3>& size, std::size_t pointsBefore, std::size_t pointsAfter,
    std::size_t& indicatorPoints) {
    indicatorPoints =
        static_cast<std::size_t>(std::max(LabelIndicator::getNumberOfPolygonPoints(indicator), 0));
    std::vector<Vector<float, 3>> points(pointsBefore + indicatorPoints + pointsAfter);
    if (indicator == nullptr || indicator->writePolygonPointsInClockwiseOrder(
                                    referencePoint, size, points.data() + pointsBefore)) {
        return points;
    }
    points.clear();
    indicator->addPolygonPointsInClockwiseOrder(referencePoint, size, points);
    indicatorPoints = points.size();
    points.resize(pointsBefore + indicatorPoints + pointsAfter);
    Vector<float, 3>* const polygon = points.data();
    std::copy_backward(polygon, polygon + indicatorPoints,
                       polygon + pointsBefore + indicatorPoints);
    return points;
}

// The same polygon appended behind what points holds; returns the number of
// the indicator's points. Allocates nothing when points has room.
inline std::size_t appendPolygonAroundIndicatorPoints(
    const LabelIndicator* indicator, LabelBackground::ReferencePoint referencePoint,
    const Vector<float, 3>& size, std::size_t pointsBefore, std::size_t pointsAfter,
    std::vector<Vector<float, 3>>& points) {
    const std::size_t base = points.size();
    std::size_t indicatorPoints =
        static_cast<std::size_t>(std::max(LabelIndicator::getNumberOfPolygonPoints(indicator), 0));
    points.resize(base + pointsBefore + indicatorPoints + pointsAfter);
    if (indicator == nullptr || indicator->writePolygonPointsInClockwiseOrder(
                                    referencePoint, size, points.data() + base + pointsBefore)) {
        return indicatorPoints;
    }
    points.resize(base);
    indicator->addPolygonPointsInClockwiseOrder(referencePoint, size, points);
    indicatorPoints = points.size() - base;
    points.resize(base + pointsBefore + indicatorPoints + pointsAfter);
    Vector<float, 3>* const polygon = points.data() + base;
    std::copy_backward(polygon, polygon + indicatorPoints,
                       polygon + pointsBefore + indicatorPoints);
    return indicatorPoints;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_INDICATORPOINTS_H
