// The rectangles, of many given side by side, whose interior meets a
// rectangle's (the first, or whether any): eight at a time in the compiler's vector types where the
// configure-time check found them (VARNEK_HAS_VECTOR_LANES), else one at a
// time; both give the same answer. Private to the library's sources; not
// installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_FIRSTOVERLAP_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_FIRSTOVERLAP_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Portability.h>
#include <varnek/label_placement/internal/VectorCandidateLanes.h>

namespace Varnek {
namespace internal {

// Rectangles are tested in blocks of this many: the sides' arrays hold a
// whole number of blocks (NaN, which meets nothing, pads the last).
inline constexpr std::size_t s_overlapBlock = 8;

// Bit k set for every rectangle block + k of the block starting at index
// block (lefts[k], tops[k], rights[k], bottoms[k]) whose interior meets
// rect's.
inline std::uint32_t findOverlapsInBlock(const float* lefts, const float* tops, const float* rights,
                                         const float* bottoms, std::size_t block,
                                         const LabelRect& rect) {
#if VARNEK_HAS_VECTOR_LANES
    const FloatQuad left = quadOf(rect.left);
    const FloatQuad top = quadOf(rect.top);
    const FloatQuad right = quadOf(rect.right);
    const FloatQuad bottom = quadOf(rect.bottom);
    OutcomeQuad met[2];
    for (std::size_t half = 0; half < 2; ++half) {
        const std::size_t k = block + 4 * half;
        FloatQuad lefts4;
        FloatQuad tops4;
        FloatQuad rights4;
        FloatQuad bottoms4;
        std::memcpy(&lefts4, lefts + k, sizeof lefts4);
        std::memcpy(&tops4, tops + k, sizeof tops4);
        std::memcpy(&rights4, rights + k, sizeof rights4);
        std::memcpy(&bottoms4, bottoms + k, sizeof bottoms4);
        met[half] = (left < rights4) & (lefts4 < right) & (top < bottoms4) & (tops4 < bottom);
    }
    std::uint64_t words[4];
    std::memcpy(words, met, sizeof words);
    if ((words[0] | words[1] | words[2] | words[3]) == 0) {
        return 0;
    }
    // Each lane's bit in its lane, then the lanes together.
    const OutcomeQuad bits =
        (met[0] & OutcomeQuad{1, 2, 4, 8}) | (met[1] & OutcomeQuad{16, 32, 64, 128});
    std::int32_t lanes[4];
    std::memcpy(lanes, &bits, sizeof lanes);
    return static_cast<std::uint32_t>(lanes[0] | lanes[1] | lanes[2] | lanes[3]);
#else
    std::uint32_t mask = 0;
    for (std::size_t k = 0; k < s_overlapBlock; ++k) {
        const std::size_t i = block + k;
        mask |= static_cast<std::uint32_t>(rect.left < rights[i] && lefts[i] < rect.right &&
                                           rect.top < bottoms[i] && tops[i] < rect.bottom)
                << k;
    }
    return mask;
#endif
}

// The index of the first rectangle (lefts[k], tops[k], rights[k],
// bottoms[k]) whose interior meets rect's, or count when none does.
inline std::size_t findFirstOverlap(const float* lefts, const float* tops, const float* rights,
                                    const float* bottoms, std::size_t count,
                                    const LabelRect& rect) {
    for (std::size_t block = 0; block < count; block += s_overlapBlock) {
        const std::uint32_t mask = findOverlapsInBlock(lefts, tops, rights, bottoms, block, rect);
        if (mask != 0) {
#if VARNEK_HAS_GNU_BUILTINS
            return block + static_cast<std::size_t>(__builtin_ctz(mask));
#else
            std::size_t first = 0;
            while ((mask >> first & 1u) == 0) {
                ++first;
            }
            return block + first;
#endif
        }
    }
    return count;
}

// Whether any rectangle, as findFirstOverlap takes them, meets rect.
inline bool overlapsAny(const float* lefts, const float* tops, const float* rights,
                        const float* bottoms, std::size_t count, const LabelRect& rect) {
    for (std::size_t block = 0; block < count; block += s_overlapBlock) {
        if (findOverlapsInBlock(lefts, tops, rights, bottoms, block, rect) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_FIRSTOVERLAP_H
