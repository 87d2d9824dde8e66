// The replaceable global allocation functions, counting and failing on demand
// for the thread that armed them (see FailingAllocator.h).
#include "FailingAllocator.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

// Per thread, so that allocations of other threads (the test framework's, the
// runtime's) neither count nor fail.
thread_local bool t_armed = false;
thread_local long t_failingAllocation = 0;
thread_local long t_allocations = 0;
thread_local bool t_failed = false;
thread_local std::exception_ptr t_exception;

// True if this allocation is the one that has to fail.
bool countAndDecide() {
    if (!t_armed) {
        return false;
    }
    ++t_allocations;
    if (t_allocations == t_failingAllocation) {
        t_failed = true;
        return true;
    }
    return false;
}

void* allocate(std::size_t size) {
    if (countAndDecide()) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (countAndDecide()) {
        return nullptr;
    }
    void* block = nullptr;
    const auto bytes = static_cast<std::size_t>(alignment);
    const std::size_t minimal = bytes < sizeof(void*) ? sizeof(void*) : bytes;
    if (posix_memalign(&block, minimal, size == 0 ? 1 : size) != 0) {
        return nullptr;
    }
    return block;
}

template <typename Allocation>
void* orThrow(Allocation allocation) {
    void* block = allocation();
    if (block == nullptr) {
        if (t_exception) {
            std::rethrow_exception(std::exchange(t_exception, nullptr));
        }
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace Varnek {
namespace testing {

void armAllocationFailure(long failingAllocation) {
    t_allocations = 0;
    t_failed = false;
    t_failingAllocation = failingAllocation;
    t_exception = nullptr;
    t_armed = true;
}

void armAllocationException(long failingAllocation, std::exception_ptr exception) {
    armAllocationFailure(failingAllocation);
    t_exception = std::move(exception);
}

AllocationCount disarmAllocationFailure() {
    t_armed = false;
    t_exception = nullptr;
    return {t_allocations, t_failed};
}

bool allocationHookIsActive() {
    armAllocationFailure(0);
    // Called directly: a new-expression's allocation may be left out.
    ::operator delete(::operator new(1));
    return disarmAllocationFailure().allocations == 1;
}

}  // namespace testing
}  // namespace Varnek

void* operator new(std::size_t size) {
    return orThrow([&] { return allocate(size); });
}
void* operator new[](std::size_t size) {
    return orThrow([&] { return allocate(size); });
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow([&] { return allocateAligned(size, alignment); });
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow([&] { return allocateAligned(size, alignment); });
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
