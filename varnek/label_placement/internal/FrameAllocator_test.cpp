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
        // Asking for the pages at once changes none of their bytes.
        populatePages(static_cast<char*>(block) + 1, bytes - 1);
        EXPECT_EQ(static_cast<unsigned char*>(block)[0], 0x5A);
        EXPECT_EQ(static_cast<unsigned char*>(block)[bytes / 2], 0x5A);
        EXPECT_EQ(static_cast<unsigned char*>(block)[bytes - 1], 0x5A);
        if (VARNEK_HAS_HUGE_PAGE_ADVICE != 0 && bytes >= hugePage) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % hugePage, 0u);
        }
        freeFrameBlock(block, bytes);
    }
    FrameVector<std::uint32_t> values(hugePage, 7u);
    EXPECT_EQ(values.back(), 7u);
}

// After prepare, an arena's blocks follow one another in its chunk; a
// block larger than the room left, or one asked for before any prepare,
// is a block of its own. A chunk stays while a block in it lives, after
// the next prepare too.
TEST(FrameAllocatorTest, AnArenasBlocksShareAChunkThatLastsWhileOneLives) {
    FrameArena arena;
    const FrameAllocator<std::uint32_t> fromArena(&arena);
    FrameVector<std::uint32_t> alone(100, 1u, fromArena);
    arena.prepare(FrameArena::s_leastChunk);
    FrameVector<std::uint32_t> first(1000, 2u, fromArena);
    FrameVector<std::uint32_t> second(1000, 3u, fromArena);
    FrameVector<std::uint32_t> third(1000, 4u, fromArena);
    // 4,000 bytes rounded up to a cache line.
    EXPECT_EQ(second.data() - first.data(), 1008);
    EXPECT_EQ(third.data() - second.data(), 1008);
    EXPECT_NE(alone.data() + 1008, first.data());
    const FrameVector<std::uint8_t> large(FrameArena::s_leastChunk * 3, 5u,
                                          FrameAllocator<std::uint8_t>(&arena));
    EXPECT_EQ(large.back(), 5u);
    FrameVector<std::uint32_t>(fromArena).swap(first);
    arena.prepare(FrameArena::s_leastChunk);
    const FrameVector<std::uint32_t> next(10, 6u, fromArena);
    second.assign(2000, 7u);
    EXPECT_EQ(alone.back() + next.back() + second.back() + third.back(), 18u);
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
