// VARNEK_ASSERT(condition): a check of an invariant of the library's own
// data structures, active in debug builds (without NDEBUG, as the dev,
// asan and tsan presets build) or with VARNEK_ENABLE_ASSERTS defined, and
// compiled out otherwise: the condition is then not evaluated. A failed
// check prints the condition and where it is, and aborts. It never checks a
// caller's input: the library answers every input. Private to the library's
// sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_ASSERT_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_ASSERT_H

#if !defined(VARNEK_ENABLE_ASSERTS) && !defined(NDEBUG)
#define VARNEK_ENABLE_ASSERTS 1
#endif

#if defined(VARNEK_ENABLE_ASSERTS)

namespace Varnek {
namespace internal {

[[noreturn]] void failAssertion(const char* condition, const char* file, int line) noexcept;

}  // namespace internal
}  // namespace Varnek

#define VARNEK_ASSERT(condition)        \
    ((condition) ? static_cast<void>(0) \
                 : ::Varnek::internal::failAssertion(#condition, __FILE__, __LINE__))

#else

// Never evaluated, but its names stay used.
#define VARNEK_ASSERT(condition) static_cast<void>(false && static_cast<bool>(condition))

#endif

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_ASSERT_H
