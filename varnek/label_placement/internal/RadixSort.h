// A stable sort of (key, label) pairs by key: the placer's greedy order,
// sorted every frame. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_RADIXSORT_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_RADIXSORT_H

#include <cstdint>
#include <vector>

#include <varnek/label_placement/internal/FrameAllocator.h>

namespace Varnek {
namespace internal {

struct OrderKey {
    std::uint64_t key;
    std::uint32_t label;
};

// The widest digit of the sort: its counts stay in the nearest cache.
inline constexpr unsigned int s_radixBits = 11;

// Sorts entries by key, keeping the order of equal keys: a radix sort from
// the lowest digit over the bits in which keys differ only (keys that share
// their high bits cost nothing there), in as few passes of at most
// s_radixBits bits as they need. scratch is working room; it allocates only
// while scratch is smaller than entries.
void sortByKey(FrameVector<OrderKey>& entries, FrameVector<OrderKey>& scratch);

// Whether entries are sorted by key, and by label within one key.
bool isSortedByKeyAndLabel(const FrameVector<OrderKey>& entries);

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_RADIXSORT_H
