#include <varnek/label_placement/internal/Assert.h>

#if defined(VARNEK_ENABLE_ASSERTS)

#include <cstdio>
#include <cstdlib>

namespace Varnek {
namespace internal {

void failAssertion(const char* condition, const char* file, int line) noexcept {
    std::fprintf(stderr, "%s:%d: Varnek internal check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace internal
}  // namespace Varnek

#endif
