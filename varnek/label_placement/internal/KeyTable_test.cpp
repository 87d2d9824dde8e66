#include <varnek/label_placement/internal/KeyTable.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

TEST(KeyTable, KeepsTheFirstValueOfEveryKeyWhateverItsBits) {
    // Keys differing in low bits only, in high bits only, and repeats.
    std::vector<std::uint64_t> keys;
    for (std::uint64_t k = 1; k <= 300; ++k) {
        keys.push_back(k);
        keys.push_back(k << 40);
        keys.push_back(~k);
    }
    KeyTable table;
    EXPECT_EQ(table.find(1), KeyTable::s_absent) << "never reset";
    table.reset(keys.size());
    EXPECT_TRUE(table.isEmpty());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        table.prefetch(keys[i]);
        ASSERT_EQ(table.insert(keys[i], static_cast<std::uint32_t>(i)), i) << keys[i];
    }
    EXPECT_EQ(table.insert(keys[5], 999), 5u) << "a repeated key keeps its first value";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(table.find(keys[i]), i) << keys[i];
    }
    EXPECT_EQ(table.find(0), KeyTable::s_absent);
    EXPECT_EQ(table.find(12345), KeyTable::s_absent);

    KeyTable other;
    other.reset(4);
    other.insert(77, 1);
    table.swap(other);
    EXPECT_EQ(table.find(77), 1u);
    EXPECT_EQ(other.find(keys[3]), 3u);
    other.clear();
    EXPECT_TRUE(other.isEmpty());
    EXPECT_EQ(other.find(keys[3]), KeyTable::s_absent);
}

#if defined(VARNEK_ENABLE_ASSERTS)
TEST(KeyTableDeathTest, MoreKeysThanItsRoomFailTheCheck) {
    KeyTable table;
    table.reset(3);  // 16 slots, room for 8 keys
    for (std::uint32_t k = 0; k < 8; ++k) {
        table.insert(k, k);
    }
    EXPECT_DEATH(table.insert(100, 8), "internal check failed");
}
#endif

}  // namespace
}  // namespace internal
}  // namespace Varnek
