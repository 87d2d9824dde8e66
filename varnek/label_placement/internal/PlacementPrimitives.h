// Small tests and conversions every pass of the placer uses. Private to the
// library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_PLACEMENTPRIMITIVES_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_PLACEMENTPRIMITIVES_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/RelativeCandidateRects.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// Whether two rectangles share an interior point; touching edges do not.
inline bool overlaps(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Whether the two hold the same bits, NaN and the sign of zero included.
inline bool sameBits(const Vector<float, 3>& a, const Vector<float, 3>& b) {
    return bitsOf(a[0]) == bitsOf(b[0]) && bitsOf(a[1]) == bitsOf(b[1]) &&
           bitsOf(a[2]) == bitsOf(b[2]);
}

inline bool isFinite(const LabelRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom);
}

// Whether a request's size and priority are within the contract: every
// extent finite and not negative, and a priority that orders (not NaN).
// A request outside it is placed nowhere and its anchor blocks nothing.
inline bool hasPlaceableSizeAndPriority(const Vector<float, 3>& size, float priority) {
    return std::isfinite(size[0]) && std::isfinite(size[1]) && std::isfinite(size[2]) &&
           size[0] >= 0.0f && size[1] >= 0.0f && size[2] >= 0.0f && !std::isnan(priority);
}

// Calls run with quads (at most four, at least one) as a constant the lanes
// can be sized by.
template <typename Run>
decltype(auto) withCandidateQuads(std::size_t quads, Run&& run) {
    VARNEK_ASSERT(quads <= s_candidateQuads);
    switch (quads) {
        case 0:
        case 1:
            return run(std::integral_constant<std::size_t, 1>{});
        case 2:
            return run(std::integral_constant<std::size_t, 2>{});
        case 3:
            return run(std::integral_constant<std::size_t, 3>{});
        default:
            return run(std::integral_constant<std::size_t, 4>{});
    }
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_PLACEMENTPRIMITIVES_H
