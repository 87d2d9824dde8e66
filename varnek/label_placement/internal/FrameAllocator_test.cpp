#include <varnek/label_placement/internal/FrameAllocator.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

// Small blocks and blocks of huge pages alike hold every byte asked for; a
// large one starts on a huge page where the system offers them.
TEST(FrameAllocatorTest, BlocksHoldTheirBytesAndLargeOnesStartOnAHugePage) {
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    for (const std::size_t bytes : {std::size_t{1}, hugePage - 1, hugePage, 3 * hugePage + 5}) {
        SCOPED_TRACE(bytes);
        void* block = allocateFrameBlock(bytes);
        std::memset(block, 0x5A, bytes);
        EXPECT_EQ(static_cast<unsigned char*>(block)[bytes - 1], 0x5A);
        if (VARNEK_HAS_HUGE_PAGE_ADVICE != 0 && bytes >= hugePage) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % hugePage, 0u);
        }
        freeFrameBlock(block, bytes);
    }
    FrameVector<std::uint32_t> values(hugePage, 7u);
    EXPECT_EQ(values.back(), 7u);
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
