// Room for a frame's per-label arrays. A placer's first frame writes every
// byte of them fresh from the system, one page fault every 4 KiB; where the
// system offers it, a block of at least 2 MiB is taken whole huge pages at
// a time instead, aligned to them, and the system asked to back it with
// huge pages: a few faults for the megabytes of a large frame. Only where
// memory comes from changes, never what is placed. Private to the library's
// sources; not installed.
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

template <typename T>
class FrameAllocator {
public:
    using value_type = T;

    FrameAllocator() noexcept = default;
    template <typename U>
    explicit FrameAllocator(const FrameAllocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t count) {
        static_assert(alignof(T) <= alignof(std::max_align_t), "operator new's alignment");
        return static_cast<T*>(allocateFrameBlock(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        freeFrameBlock(block, count * sizeof(T));
    }

    friend bool operator==(const FrameAllocator& /*a*/, const FrameAllocator& /*b*/) {
        return true;
    }
    friend bool operator!=(const FrameAllocator& /*a*/, const FrameAllocator& /*b*/) {
        return false;
    }
};

// A per-frame array sized by the number of labels.
template <typename T>
using FrameVector = std::vector<T, FrameAllocator<T>>;

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_FRAMEALLOCATOR_H
