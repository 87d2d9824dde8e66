// Lets a test make the N-th allocation of the calling thread throw
// std::bad_alloc, through the allocation hook (support/allocation) that
// replaces the global allocation functions of the test executable. Every
// other allocation behaves as usual; the hook sits on malloc and free, so
// leak checkers still see every block.
#ifndef VARNEK_TESTS_RELIABILITY_FAILINGALLOCATOR_H
#define VARNEK_TESTS_RELIABILITY_FAILINGALLOCATOR_H

#include <exception>

namespace Varnek {
namespace testing {

// Starts counting the calling thread's allocations; the failingAllocation-th
// one from now (1 = the next) fails. 0 counts without failing.
void armAllocationFailure(long failingAllocation);

// As armAllocationFailure, but the failing allocation throws exception
// instead of std::bad_alloc: it stands in for whatever a sibling library
// throws from the middle of an operation.
void armAllocationException(long failingAllocation, std::exception_ptr exception);

struct AllocationCount {
    long allocations;  // counted since arming, the failed one included
    bool failed;       // whether the armed allocation was reached and failed
};

// Stops counting and failing, and tells what happened since arming.
AllocationCount disarmAllocationFailure();

// False when the replacement is not in effect: valgrind puts its own
// allocation functions in place of the executable's unless run with
// --soname-synonyms=somalloc=nouserintercepts. Tests that count or fail
// allocations skip then.
bool allocationHookIsActive();

}  // namespace testing
}  // namespace Varnek

#endif  // VARNEK_TESTS_RELIABILITY_FAILINGALLOCATOR_H
