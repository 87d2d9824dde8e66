#include <varnek/label_placement/internal/FirstOverlap.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

// Seeded rectangles on a coarse grid, so that edges often coincide (touching
// does not count), padded with NaN to whole blocks, against a plain scan.
TEST(FirstOverlap, FindsWhatAPlainScanFinds) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    const auto next = [&state](std::uint32_t range) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<float>((state >> 33) % range);
    };
    for (std::size_t count = 0; count <= 3 * s_overlapBlock; ++count) {
        std::vector<LabelRect> rects;
        std::vector<float> lefts;
        std::vector<float> tops;
        std::vector<float> rights;
        std::vector<float> bottoms;
        for (std::size_t k = 0; k < count; ++k) {
            const float left = next(40);
            const float top = next(40);
            rects.push_back({left, top, left + 1.0f + next(8), top + 1.0f + next(8)});
            lefts.push_back(rects.back().left);
            tops.push_back(rects.back().top);
            rights.push_back(rects.back().right);
            bottoms.push_back(rects.back().bottom);
        }
        const float none = std::numeric_limits<float>::quiet_NaN();
        while (lefts.size() % s_overlapBlock != 0) {
            lefts.push_back(none);
            tops.push_back(none);
            rights.push_back(none);
            bottoms.push_back(none);
        }
        for (int probe = 0; probe < 50; ++probe) {
            const float left = next(44);
            const float top = next(44);
            const LabelRect rect{left, top, left + next(12), top + next(12)};
            std::size_t expected = count;
            for (std::size_t k = 0; k < count && expected == count; ++k) {
                const LabelRect& r = rects[k];
                if (rect.left < r.right && r.left < rect.right && rect.top < r.bottom &&
                    r.top < rect.bottom) {
                    expected = k;
                }
            }
            const std::size_t padded = lefts.size();
            const std::size_t first = findFirstOverlap(lefts.data(), tops.data(), rights.data(),
                                                       bottoms.data(), padded, rect);
            EXPECT_EQ(first, expected == count ? padded : expected) << count << " " << probe;
            EXPECT_EQ(
                overlapsAny(lefts.data(), tops.data(), rights.data(), bottoms.data(), padded, rect),
                expected < count)
                << count << " " << probe;
        }
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
