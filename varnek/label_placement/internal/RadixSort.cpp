#include <varnek/label_placement/internal/RadixSort.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace internal {

void sortByKey(FrameVector<OrderKey>& entries, FrameVector<OrderKey>& scratch) {
    std::uint64_t differing = 0;
    for (const OrderKey& entry : entries) {
        differing |= entry.key ^ entries.front().key;
    }
    if (differing == 0) {
        return;
    }
    const auto low = countTrailingZeros(differing);
    const auto span = 64 - countLeadingZeros(differing) - low;
    const unsigned int passes = (span + s_radixBits - 1) / s_radixBits;
    const unsigned int bits = (span + passes - 1) / passes;
    const std::size_t buckets = std::size_t{1} << bits;
    const std::uint64_t digitMask = buckets - 1;
    scratch.resize(entries.size());
    std::array<std::uint32_t, std::size_t{1} << s_radixBits> starts;
    for (unsigned int pass = 0; pass < passes; ++pass) {
        const unsigned int shift = low + pass * bits;
        std::fill(starts.begin(), starts.begin() + static_cast<std::ptrdiff_t>(buckets), 0u);
        for (const OrderKey& entry : entries) {
            ++starts[(entry.key >> shift) & digitMask];
        }
        std::uint32_t start = 0;
        for (std::size_t bucket = 0; bucket < buckets; ++bucket) {
            const std::uint32_t n = starts[bucket];
            starts[bucket] = start;
            start += n;
        }
        for (const OrderKey& entry : entries) {
            scratch[starts[(entry.key >> shift) & digitMask]++] = entry;
        }
        entries.swap(scratch);
    }
}

bool isSortedByKeyAndLabel(const FrameVector<OrderKey>& entries) {
    return std::is_sorted(entries.begin(), entries.end(), [](const OrderKey& a, const OrderKey& b) {
        return a.key < b.key || (a.key == b.key && a.label < b.label);
    });
}

}  // namespace internal
}  // namespace Varnek
