// The extent of an outline's points, gathered point by point. Private to the
// library's sources; not installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_POLYGONEXTENT_H
#define VARNEK_LABEL_SHAPE_INTERNAL_POLYGONEXTENT_H

#include <cmath>
#include <cstddef>
#include <limits>

#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// The smallest and largest coordinate per axis of the points added; a NaN
// coordinate makes its axis NaN in both and keeps it so.
struct PolygonExtent {
    Vector<float, 3> minimum{std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::infinity()};
    Vector<float, 3> maximum{-std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()};

    void add(const Vector<float, 3>& point) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const float value = point[axis];
            if (std::isnan(value) || std::isnan(minimum[axis])) {
                minimum[axis] = value + minimum[axis];
                maximum[axis] = minimum[axis];
            } else {
                minimum[axis] = value < minimum[axis] ? value : minimum[axis];
                maximum[axis] = value > maximum[axis] ? value : maximum[axis];
            }
        }
    }
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_POLYGONEXTENT_H
