// A hint to bring memory into the cache ahead of a read, for loops over
// scattered data that can name what they read a few steps early. It changes
// no result. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_PREFETCH_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_PREFETCH_H

#include <cstddef>

namespace Varnek {
namespace internal {

// How many steps ahead the loops ask: enough to cover a miss to the
// last-level cache, few enough that the lines are still there when read.
inline constexpr std::size_t s_prefetchDistance = 8;

inline void prefetchForRead(const void* address) {
    __builtin_prefetch(address, 0, 3);
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_PREFETCH_H
