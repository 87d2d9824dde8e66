// Test support for the label geometry: readable failure output for vectors,
// compact point lists, and float bit patterns. Used by tests only.
#ifndef VARNEK_LABEL_SHAPE_LABELSHAPETESTING_H
#define VARNEK_LABEL_SHAPE_LABELSHAPETESTING_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iomanip>
#include <ostream>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

using V = Vector<float, 3>;
using Points = std::vector<V>;
using RP = LabelBackground::ReferencePoint;

// Found by GoogleTest through argument-dependent lookup.
inline void PrintTo(const V& v, std::ostream* os) {
    *os << std::setprecision(9) << '(' << v[0] << ", " << v[1] << ", " << v[2] << ')';
}

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

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_LABELSHAPETESTING_H
