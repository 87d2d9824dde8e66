// Test support for the label geometry: readable failure output for vectors
// and a way to compare floats by their bit patterns. Used by tests only.
#ifndef VARNEK_LABEL_SHAPE_LABELSHAPETESTING_H
#define VARNEK_LABEL_SHAPE_LABELSHAPETESTING_H

#include <cstdint>
#include <cstring>
#include <iomanip>
#include <ostream>

#include <varnek/services/Vector.h>

namespace Varnek {

// Found by GoogleTest through argument-dependent lookup.
inline void PrintTo(const Vector<float, 3>& v, std::ostream* os) {
    *os << std::setprecision(9) << '(' << v[0] << ", " << v[1] << ", " << v[2] << ')';
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
