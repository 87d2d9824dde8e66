// Room for a frame's per-label arrays. A placer's first frame writes every
// byte of them fresh from the system, one page fault every 4 KiB; where the
// system offers it, a block of at least 2 MiB is taken whole huge pages at
// a time instead, aligned to them, and the system asked to back it with
// huge pages: a few faults for the megabytes of a large frame. A placer's
// arrays come from its own FrameArena, which takes the arrays of a frame of
// some thousands of labels and up from one such block together, so that a
// frame of 10,000 labels, whose arrays are each well under 2 MiB, takes
// huge pages too. Only where memory comes from changes, never what is
// placed. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_FRAMEALLOCATOR_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_FRAMEALLOCATOR_H

#include <cstddef>
#include <vector>

namespace Varnek {
namespace internal {

// A block of at least bytes through operator new (aligned to huge pages
// where it is that large and they are offered); throws std::bad_alloc.
void* allocateFrameBlock(std::size_t bytes);
// Gives back a block of allocateFrameBlock, with the same bytes.
void freeFrameBlock(void* block, std::size_t bytes) noexcept;
// Asks the system to back the whole huge pages within the bytes from data
// with huge pages, where it offers them; a hint that changes nothing else.
void adviseHugePages(void* data, std::size_t bytes) noexcept;
// Asks the system to back the whole pages within the bytes from data at
// once, where it offers that: one call instead of a page fault per page of
// a block fresh from the system; changes no byte.
void populatePages(void* data, std::size_t bytes) noexcept;

// The blocks of one placer's arrays. After prepare(bytes) of at least
// s_leastChunk, blocks come one after another from a chunk of that many
// bytes (of whole huge pages, through allocateFrameBlock) while it has room,
// and from allocateFrameBlock alone after that; before, and for smaller
// frames, from allocateFrameBlock alone. A chunk is given back when the
// last block in it is, and a later prepare has started another. Every block
// must be given back before the arena goes; one placer uses it at a time.
class FrameArena {
public:
    // A frame whose arrays take less stays with separate blocks (which the
    // C library's heap recycles), so that a small placer does not hold a
    // huge page.
    static constexpr std::size_t s_leastChunk = std::size_t{1} << 20;

    FrameArena() noexcept = default;
    FrameArena(const FrameArena&) = delete;
    FrameArena& operator=(const FrameArena&) = delete;
    ~FrameArena();

    // The blocks that follow, about bytes in all, share a chunk if that is
    // at least s_leastChunk. Throws std::bad_alloc.
    void prepare(std::size_t bytes);
    void* allocate(std::size_t bytes);
    void deallocate(void* block, std::size_t bytes) noexcept;

private:
    struct Chunk {
        char* data;
        std::size_t size;
        std::size_t used;
        // Blocks not yet given back.
        std::size_t live;
    };
    // The chunk blocks come from, and those whose blocks are still held.
    Chunk m_current{};
    std::vector<Chunk> m_retired;
};

// Blocks from an arena, or from allocateFrameBlock without one.
template <typename T>
class FrameAllocator {
public:
    using value_type = T;

    FrameAllocator() noexcept = default;
    explicit FrameAllocator(FrameArena* arena) noexcept : m_arena(arena) {}
    template <typename U>
    explicit FrameAllocator(const FrameAllocator<U>& other) noexcept : m_arena(other.getArena()) {}

    T* allocate(std::size_t count) {
        static_assert(alignof(T) <= alignof(std::max_align_t), "operator new's alignment");
        return static_cast<T*>(m_arena != nullptr ? m_arena->allocate(count * sizeof(T))
                                                  : allocateFrameBlock(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        if (m_arena != nullptr) {
            m_arena->deallocate(block, count * sizeof(T));
        } else {
            freeFrameBlock(block, count * sizeof(T));
        }
    }
    FrameArena* getArena() const noexcept { return m_arena; }

    friend bool operator==(const FrameAllocator& a, const FrameAllocator& b) {
        return a.m_arena == b.m_arena;
    }
    friend bool operator!=(const FrameAllocator& a, const FrameAllocator& b) { return !(a == b); }

private:
    FrameArena* m_arena = nullptr;
};

// A per-frame array sized by the number of labels.
template <typename T>
using FrameVector = std::vector<T, FrameAllocator<T>>;

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_FRAMEALLOCATOR_H
