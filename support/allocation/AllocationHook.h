// Replaces every form of the global operator new and delete of the program
// that links it with one that counts the calling thread's allocations and
// can make a chosen one fail. It sits on malloc and free, so that leak
// checkers still see every block. The benchmarks count allocations with it,
// the allocation tests count them and make them fail. ThreadSanitizer's
// runtime defines operator new itself: a program built with it cannot link
// this.
#ifndef VARNEK_SUPPORT_ALLOCATIONHOOK_H
#define VARNEK_SUPPORT_ALLOCATIONHOOK_H

#include <cstdint>
#include <exception>

namespace VarnekSupport {

// Calls of any form of operator new on this thread since it started, failed
// ones included. Per thread, so that what the test framework, Google
// Benchmark or the runtime do on other threads is not charged to the caller.
std::uint64_t allocationCount();

// Makes the allocation that brings allocationCount() to number fail on this
// thread: the throwing forms throw exception, or std::bad_alloc when it is
// null, and the nothrow forms return null. 0 makes none fail.
void failAllocationAtCount(std::uint64_t number, std::exception_ptr exception = nullptr);

// Whether the allocation chosen by the last failAllocationAtCount was
// reached and failed.
bool chosenAllocationFailed();

// False when the replacement is not in effect: valgrind puts its own
// allocation functions in place of the program's unless run with
// --soname-synonyms=somalloc=nouserintercepts.
bool allocationHookIsActive();

}  // namespace VarnekSupport

#endif  // VARNEK_SUPPORT_ALLOCATIONHOOK_H
