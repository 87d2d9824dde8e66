// Inputs that change from one iteration to the next, so that the compiler
// cannot fold a call on a constant argument and the branch predictor sees
// the mix of reference points and sizes that a view of many labels makes.
// Tables are filled at start-up from a fixed seed: runs are repeatable.
#ifndef VARNEK_BENCH_BENCHMARKINPUTS_H
#define VARNEK_BENCH_BENCHMARKINPUTS_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace VarnekBench {

// Entries per table; a power of two, so that an iteration picks its entry
// with a mask.
inline constexpr std::size_t s_inputCount = 64;

// The entry of a table for iteration i.
template <typename T, std::size_t N>
const T& pick(const std::array<T, N>& table, std::size_t i) {
    static_assert((N & (N - 1)) == 0, "table sizes are powers of two");
    return table[i & (N - 1)];
}

// A small linear congruential generator: the same numbers on every machine.
class InputGenerator {
public:
    explicit InputGenerator(std::uint32_t seed) : m_state(seed) {}

    // Uniform in [low, high).
    float uniform(float low, float high) {
        return low + (high - low) * static_cast<float>(next() >> 8) / 16777216.0F;
    }
    // Uniform in [low, high].
    int integer(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::uint32_t next() {
        m_state = m_state * 1664525U + 1013904223U;
        return m_state;
    }

    std::uint32_t m_state;
};

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_BENCHMARKINPUTS_H
