#include <allocation/AllocationHook.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

thread_local std::uint64_t t_allocations = 0;
thread_local std::uint64_t t_failingAllocation = 0;
thread_local bool t_failed = false;
thread_local std::exception_ptr t_exception;

// Counts the allocation; true if it is the one chosen to fail.
bool countAndDecide() {
    ++t_allocations;
    if (t_allocations == t_failingAllocation) {
        t_failed = true;
        return true;
    }
    return false;
}

// Null when the allocation is chosen to fail or memory runs out; malloc(0)
// may return null, operator new must not.
void* allocate(std::size_t size) {
    return countAndDecide() ? nullptr : std::malloc(size == 0 ? 1 : size);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (countAndDecide()) {
        return nullptr;
    }
    const auto bytes = static_cast<std::size_t>(alignment);
    void* block = nullptr;
    if (posix_memalign(&block, bytes < sizeof(void*) ? sizeof(void*) : bytes,
                       size == 0 ? 1 : size) != 0) {
        return nullptr;
    }
    return block;
}

// The throwing forms' answer to a null block: the exception chosen with the
// failing allocation, once, or std::bad_alloc.
void* orThrow(void* block) {
    if (block == nullptr) {
        if (t_exception) {
            std::rethrow_exception(std::exchange(t_exception, nullptr));
        }
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace VarnekSupport {

std::uint64_t allocationCount() {
    return t_allocations;
}

void failAllocationAtCount(std::uint64_t number, std::exception_ptr exception) {
    t_failingAllocation = number;
    t_failed = false;
    t_exception = number != 0 ? std::move(exception) : nullptr;
}

bool chosenAllocationFailed() {
    return t_failed;
}

bool allocationHookIsActive() {
    const std::uint64_t before = t_allocations;
    // Called directly: a new-expression's allocation may be left out.
    ::operator delete(::operator new(1));
    return t_allocations == before + 1;
}

}  // namespace VarnekSupport

void* operator new(std::size_t size) {
    return orThrow(allocate(size));
}
void* operator new[](std::size_t size) {
    return orThrow(allocate(size));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment,
                   const std::nothrow_t& /*tag*/) noexcept {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment,
                     const std::nothrow_t& /*tag*/) noexcept {
    return allocateAligned(size, alignment);
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t /*size*/) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t /*size*/) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t /*alignment*/) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t /*alignment*/) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t /*size*/, std::align_val_t /*alignment*/) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t /*size*/, std::align_val_t /*alignment*/) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t& /*tag*/) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t& /*tag*/) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t /*alignment*/,
                     const std::nothrow_t& /*tag*/) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t /*alignment*/,
                       const std::nothrow_t& /*tag*/) noexcept {
    std::free(block);
}
