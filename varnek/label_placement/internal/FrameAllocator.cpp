#include <varnek/label_placement/internal/FrameAllocator.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include <varnek/label_placement/internal/Assert.h>

#if VARNEK_HAS_HUGE_PAGE_ADVICE
#include <sys/mman.h>
#endif

namespace Varnek {
namespace internal {
namespace {

// The huge page of the systems that offer them to a program's advice.
constexpr std::size_t s_hugePage = std::size_t{2} << 20;
// The ordinary page.
constexpr std::size_t s_page = std::size_t{4} << 10;
// From this size on a block takes whole huge pages: at most half of them
// is room it does not use.
constexpr std::size_t s_leastHugeBlock = s_hugePage;
// A cache line: where the blocks of a chunk start.
constexpr std::size_t s_line = 64;

bool takesHugePages(std::size_t bytes) {
    return VARNEK_HAS_HUGE_PAGE_ADVICE != 0 && bytes >= s_leastHugeBlock;
}

#if VARNEK_HAS_HUGE_PAGE_ADVICE
// Advice for the whole pages of the given size inside the block, from the
// first page boundary in it to the last. Advice only: where the system
// refuses it or does not know it, the pages stay as they are.
void adviseWholePages(void* data, std::size_t bytes, std::size_t page, int advice) noexcept {
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(data) % page;
    const std::size_t lead = misalignment == 0 ? 0 : page - misalignment;
    if (bytes > lead && bytes - lead >= page) {
        const std::size_t advised = (bytes - lead) / page * page;
        static_cast<void>(madvise(static_cast<char*>(data) + lead, advised, advice));
    }
}
#endif

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
    populatePages(block, rounded);
    return block;
}

void freeFrameBlock(void* block, std::size_t bytes) noexcept {
    if (!takesHugePages(bytes)) {
        ::operator delete(block);
        return;
    }
    ::operator delete (block, std::align_val_t{s_hugePage});
}

FrameArena::~FrameArena() {
    // Every block is back: the chunks hold nothing.
    VARNEK_ASSERT(m_current.live == 0 && m_retired.empty());
    if (m_current.data != nullptr) {
        freeFrameBlock(m_current.data, m_current.size);
    }
}

void FrameArena::prepare(std::size_t bytes) {
    if (bytes < s_leastChunk) {
        return;
    }
    // Whole huge pages: the last one is the chunk's alone.
    bytes = (bytes + s_hugePage - 1) & ~(s_hugePage - 1);
    // Room for the retired chunk first, so that nothing is lost if the new
    // one cannot be had.
    m_retired.reserve(m_retired.size() + 1);
    Chunk chunk{static_cast<char*>(allocateFrameBlock(bytes)), bytes, 0, 0};
    if (m_current.data != nullptr) {
        if (m_current.live == 0) {
            freeFrameBlock(m_current.data, m_current.size);
        } else {
            m_retired.push_back(m_current);
        }
    }
    m_current = chunk;
}

void* FrameArena::allocate(std::size_t bytes) {
    // Blocks start on cache lines; an empty one takes a line too, so that
    // every block lies inside its chunk.
    const std::size_t rounded = (std::max<std::size_t>(bytes, 1) + s_line - 1) & ~(s_line - 1);
    if (m_current.data != nullptr && rounded >= bytes &&
        rounded <= m_current.size - m_current.used) {
        void* block = m_current.data + m_current.used;
        m_current.used += rounded;
        ++m_current.live;
        return block;
    }
    return allocateFrameBlock(bytes);
}

void FrameArena::deallocate(void* block, std::size_t bytes) noexcept {
    const auto holds = [block](const Chunk& chunk) {
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        const auto start = reinterpret_cast<std::uintptr_t>(chunk.data);
        return chunk.data != nullptr && address >= start && address - start < chunk.size;
    };
    if (holds(m_current)) {
        --m_current.live;
        return;
    }
    for (std::size_t c = 0; c < m_retired.size(); ++c) {
        Chunk& chunk = m_retired[c];
        if (holds(chunk)) {
            if (--chunk.live == 0) {
                freeFrameBlock(chunk.data, chunk.size);
                chunk = m_retired.back();
                m_retired.pop_back();
            }
            return;
        }
    }
    freeFrameBlock(block, bytes);
}

void adviseHugePages(void* data, std::size_t bytes) noexcept {
#if VARNEK_HAS_HUGE_PAGE_ADVICE
    adviseWholePages(data, bytes, s_hugePage, MADV_HUGEPAGE);
#else
    static_cast<void>(data);
    static_cast<void>(bytes);
#endif
}

void populatePages(void* data, std::size_t bytes) noexcept {
#if VARNEK_HAS_HUGE_PAGE_ADVICE && defined(MADV_POPULATE_WRITE)
    // Where the system does not know the advice, the pages fault in as they
    // are first written.
    adviseWholePages(data, bytes, s_page, MADV_POPULATE_WRITE);
#else
    static_cast<void>(data);
    static_cast<void>(bytes);
#endif
}

}  // namespace internal
}  // namespace Varnek
