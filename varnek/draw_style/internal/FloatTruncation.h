// Float-to-integer truncation for the colour texts and bytes, defined for
// every float. Private to the library's sources; not installed.
#ifndef VARNEK_DRAW_STYLE_INTERNAL_FLOATTRUNCATION_H
#define VARNEK_DRAW_STYLE_INTERNAL_FLOATTRUNCATION_H

#include <cstdint>

namespace Varnek {
namespace internal {

// x truncated toward zero to a 32-bit signed integer; 0 for a NaN, an
// infinity or any value whose truncation does not fit, where a plain
// conversion would be undefined. Both bounds are exact powers of two as floats.
inline std::int32_t truncateToInt32OrZero(float x) {
    constexpr float lowest = -2147483648.0F;      // -2^31, itself representable
    constexpr float pastHighest = 2147483648.0F;  // 2^31; a NaN fails both tests
    return x >= lowest && x < pastHighest ? static_cast<std::int32_t>(x) : 0;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_INTERNAL_FLOATTRUNCATION_H
