// Arming and disarming a failure on the shared allocation hook, which
// replaces the global allocation functions of the test executable.
#include "FailingAllocator.h"

#include <cstdint>
#include <utility>

#include <allocation/AllocationHook.h>

namespace {

// The calling thread's allocation count when it armed.
thread_local std::uint64_t t_armedAt = 0;

}  // namespace

namespace Varnek {
namespace testing {

void armAllocationFailure(long failingAllocation) {
    armAllocationException(failingAllocation, nullptr);
}

void armAllocationException(long failingAllocation, std::exception_ptr exception) {
    t_armedAt = VarnekSupport::allocationCount();
    VarnekSupport::failAllocationAtCount(
        failingAllocation > 0 ? t_armedAt + static_cast<std::uint64_t>(failingAllocation) : 0,
        std::move(exception));
}

AllocationCount disarmAllocationFailure() {
    const auto allocations = static_cast<long>(VarnekSupport::allocationCount() - t_armedAt);
    const bool failed = VarnekSupport::chosenAllocationFailed();
    VarnekSupport::failAllocationAtCount(0);
    return {allocations, failed};
}

bool allocationHookIsActive() {
    return VarnekSupport::allocationHookIsActive();
}

}  // namespace testing
}  // namespace Varnek
