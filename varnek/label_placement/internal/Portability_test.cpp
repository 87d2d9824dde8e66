#include <varnek/label_placement/internal/Portability.h>

#include <cstdint>
#include <random>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

// The plain routes answer as the compiler's builtins do (where it has
// them) and as the definition says.
TEST(Portability, PlainBitScansAgreeWithTheBuiltins) {
    std::mt19937_64 random(1u);
    for (unsigned int bit = 0; bit < 64; ++bit) {
        const std::uint64_t one = std::uint64_t{1} << bit;
        // A lowest bit with noise above, a highest bit with noise below.
        const std::uint64_t lowest = one | (random() << bit);
        const std::uint64_t highest = one | (random() & (one - 1));
        ASSERT_EQ(countTrailingZerosByShifting(lowest), bit);
        ASSERT_EQ(countTrailingZeros(lowest), bit);
        ASSERT_EQ(countLeadingZerosByShifting(highest), 63 - bit);
        ASSERT_EQ(countLeadingZeros(highest), 63 - bit);
        if (bit < 32) {
            const auto narrow = static_cast<std::uint32_t>(lowest);
            ASSERT_EQ(countTrailingZerosByShifting(narrow), bit);
            ASSERT_EQ(countTrailingZeros(narrow), bit);
        }
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek
