#include <varnek/label_placement/internal/RadixSort.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

TEST(RadixSort, SortsLikeStableSortWhereverKeysDiffer) {
    struct Case {
        const char* what;
        std::size_t count;
        // Random bits of the key outside the mask are those of a fixed key.
        std::uint64_t mask;
    };
    const Case cases[] = {
        {"empty", 0, ~0ull},
        {"one", 1, ~0ull},
        {"all equal", 500, 0},
        {"the lowest bits", 3000, 0x7},
        {"one digit", 3000, 0x3FF},
        {"the placer's keys: priority, shown before, cell", 3000, 0x00000003FFFFFFFFull},
        {"only the highest bits", 3000, 0xF000000000000000ull},
        {"every bit", 3000, ~0ull},
    };
    std::mt19937_64 random(11u);
    FrameVector<OrderKey> scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint64_t fixed = 0x0123456789ABCDEFull;
        FrameVector<OrderKey> entries(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            // Labels out of order, so that stability shows.
            entries[i] = {(random() & c.mask) | (fixed & ~c.mask),
                          static_cast<std::uint32_t>(random() % 1000)};
        }
        FrameVector<OrderKey> expected = entries;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const OrderKey& a, const OrderKey& b) { return a.key < b.key; });
        sortByKey(entries, scratch);
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ASSERT_EQ(entries[i].key, expected[i].key) << i;
            ASSERT_EQ(entries[i].label, expected[i].label) << i;
        }
    }
}

TEST(RadixSort, TellsSortedFromUnsorted) {
    EXPECT_TRUE(isSortedByKeyAndLabel({{1, 2}, {1, 3}, {2, 0}}));
    EXPECT_FALSE(isSortedByKeyAndLabel({{1, 3}, {1, 2}}));
    EXPECT_FALSE(isSortedByKeyAndLabel({{2, 0}, {1, 5}}));
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
