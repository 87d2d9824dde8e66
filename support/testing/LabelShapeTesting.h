// Test support for the label geometry: readable failure output for vectors,
// compact point lists, an indicator's points alone, the measures of an
// outline, and float bit patterns. Used by tests only; not installed.
#ifndef VARNEK_TESTING_LABELSHAPETESTING_H
#define VARNEK_TESTING_LABELSHAPETESTING_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iomanip>
#include <ostream>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {

// Found by GoogleTest through argument-dependent lookup, so it lives beside
// the vector.
inline void PrintTo(const Vector<float, 3>& v, std::ostream* os) {
    *os << std::setprecision(9) << '(' << v[0] << ", " << v[1] << ", " << v[2] << ')';
}

}  // namespace Varnek

namespace VarnekTesting {

using V = Varnek::Vector<float, 3>;
using Points = std::vector<V>;
using RP = Varnek::LabelBackground::ReferencePoint;

inline RP rp(int value) {
    return static_cast<RP>(value);
}

// Points from x, y pairs, each with z = 0.
inline Points pointsXY(std::initializer_list<float> xy) {
    Points points;
    for (auto it = xy.begin(); it != xy.end() && it + 1 != xy.end(); it += 2) {
        points.emplace_back(it[0], it[1], 0.0f);
    }
    return points;
}

// The points the indicator appends to an empty outline.
inline Points pointsOf(const Varnek::LabelIndicator& indicator, RP referencePoint, const V& size) {
    Points points;
    indicator.addPolygonPointsInClockwiseOrder(referencePoint, size, points);
    return points;
}

// Twice the signed area (shoelace sum) and the extents of a closed outline.
// With y pointing down the sum is positive for a walk that is clockwise on
// screen: it mirrors a counter-clockwise walk in a y-up frame.
struct OutlineMeasures {
    double twiceArea = 0.0;
    V extent;
};

inline OutlineMeasures measure(const Points& outline) {
    OutlineMeasures measures;
    if (outline.empty()) {
        return measures;
    }
    V low = outline.front();
    V high = outline.front();
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const V& a = outline[i];
        const V& b = outline[(i + 1) % outline.size()];
        measures.twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
        for (std::size_t axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], a[axis]);
            high[axis] = std::max(high[axis], a[axis]);
        }
    }
    for (std::size_t axis = 0; axis < 3; ++axis) {
        measures.extent[axis] = high[axis] - low[axis];
    }
    return measures;
}

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace VarnekTesting

#endif  // VARNEK_TESTING_LABELSHAPETESTING_H
