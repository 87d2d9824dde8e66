// The few compiler builtins the placer uses (bit scans, a prefetch hint, an
// inlining hint), each with a plain C++ route where the compiler has no
// builtin: both give the same answers. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_PORTABILITY_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_PORTABILITY_H

#include <cstddef>
#include <cstdint>

#if defined(__GNUC__) || defined(__clang__)
#define VARNEK_HAS_GNU_BUILTINS 1
#else
#define VARNEK_HAS_GNU_BUILTINS 0
#endif

// Inlined wherever it is called: a hint that changes no result, for the
// few small functions of the hot paths that the whole-library optimiser
// would otherwise call out of line as the library grows.
#if VARNEK_HAS_GNU_BUILTINS
#define VARNEK_ALWAYS_INLINE __attribute__((always_inline))
#else
#define VARNEK_ALWAYS_INLINE
#endif

namespace Varnek {
namespace internal {

// The plain routes of the bit scans below; bits must not be 0.
template <typename Bits>
unsigned int countTrailingZerosByShifting(Bits bits) {
    unsigned int count = 0;
    for (; (bits & 1u) == 0; bits >>= 1) {
        ++count;
    }
    return count;
}
inline unsigned int countLeadingZerosByShifting(std::uint64_t bits) {
    unsigned int count = 0;
    for (; (bits & (std::uint64_t{1} << 63)) == 0; bits <<= 1) {
        ++count;
    }
    return count;
}

// The number of zero bits below the lowest set bit; bits must not be 0.
inline unsigned int countTrailingZeros(std::uint32_t bits) {
#if VARNEK_HAS_GNU_BUILTINS
    return static_cast<unsigned int>(__builtin_ctz(bits));
#else
    return countTrailingZerosByShifting(bits);
#endif
}

inline unsigned int countTrailingZeros(std::uint64_t bits) {
#if VARNEK_HAS_GNU_BUILTINS
    return static_cast<unsigned int>(__builtin_ctzll(bits));
#else
    return countTrailingZerosByShifting(bits);
#endif
}

// The number of zero bits above the highest set bit; bits must not be 0.
inline unsigned int countLeadingZeros(std::uint64_t bits) {
#if VARNEK_HAS_GNU_BUILTINS
    return static_cast<unsigned int>(__builtin_clzll(bits));
#else
    return countLeadingZerosByShifting(bits);
#endif
}

// How many steps ahead the loops over scattered data ask for memory: enough
// to cover a miss to the last-level cache, few enough that the lines are
// still there when read.
inline constexpr std::size_t s_prefetchDistance = 8;
// The same for loops that do little per step or read far from the caches
// (copies, the key table and the labels' state by request in the passes
// over the requests, the 3D call's passes over the requests in view and the
// drawn labels): they ask further ahead.
inline constexpr std::size_t s_farPrefetchDistance = 4 * s_prefetchDistance;

// A hint to bring memory into the cache ahead of a read. It changes no
// result; without the builtin it does nothing.
inline void prefetchForRead(const void* address) {
#if VARNEK_HAS_GNU_BUILTINS
    __builtin_prefetch(address, 0, 3);
#else
    static_cast<void>(address);
#endif
}

// The same ahead of a write: the line is asked for to be written, so the
// write need not ask again.
inline void prefetchForWrite(void* address) {
#if VARNEK_HAS_GNU_BUILTINS
    __builtin_prefetch(address, 1, 3);
#else
    static_cast<void>(address);
#endif
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_PORTABILITY_H
