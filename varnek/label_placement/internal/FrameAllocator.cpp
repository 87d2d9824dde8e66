#include <varnek/label_placement/internal/FrameAllocator.h>

#include <cstdint>
#include <new>

#if VARNEK_HAS_HUGE_PAGE_ADVICE
#include <sys/mman.h>
#endif

namespace Varnek {
namespace internal {
namespace {

// The huge page of the systems that offer them to a program's advice.
constexpr std::size_t s_hugePage = std::size_t{2} << 20;
// From this size on a block takes whole huge pages: at most half of them
// is room it does not use.
constexpr std::size_t s_leastHugeBlock = s_hugePage;

bool takesHugePages(std::size_t bytes) {
    return VARNEK_HAS_HUGE_PAGE_ADVICE != 0 && bytes >= s_leastHugeBlock;
}

}  // namespace

void* allocateFrameBlock(std::size_t bytes) {
    if (!takesHugePages(bytes)) {
        return ::operator new(bytes);
    }
    if (bytes > SIZE_MAX - s_hugePage) {
        throw std::bad_alloc();
    }
    // Whole huge pages: the last one is not shared with other data.
    const std::size_t rounded = (bytes + s_hugePage - 1) & ~(s_hugePage - 1);
    void* block = ::operator new (rounded, std::align_val_t{s_hugePage});
    adviseHugePages(block, rounded);
    return block;
}

void freeFrameBlock(void* block, std::size_t bytes) noexcept {
    if (!takesHugePages(bytes)) {
        ::operator delete(block);
        return;
    }
    ::operator delete (block, std::align_val_t{s_hugePage});
}

void adviseHugePages(void* data, std::size_t bytes) noexcept {
#if VARNEK_HAS_HUGE_PAGE_ADVICE
    // From the first huge page boundary in the block to the last.
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(data) % s_hugePage;
    const std::size_t lead = misalignment == 0 ? 0 : s_hugePage - misalignment;
    if (bytes > lead && bytes - lead >= s_hugePage) {
        const std::size_t advised = (bytes - lead) / s_hugePage * s_hugePage;
        // Advice only: where it is refused, the pages stay ordinary ones.
        static_cast<void>(madvise(static_cast<char*>(data) + lead, advised, MADV_HUGEPAGE));
    }
#else
    static_cast<void>(data);
    static_cast<void>(bytes);
#endif
}

}  // namespace internal
}  // namespace Varnek
