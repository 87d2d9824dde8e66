// What the fuzz targets share: a check that stops the run with a message when
// an answer is wrong (libFuzzer then keeps the input as a finding), tests for
// answers that must be plain constant text, and floats of any bit pattern.
#ifndef VARNEK_FUZZ_FUZZCHECK_H
#define VARNEK_FUZZ_FUZZCHECK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

namespace VarnekFuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

// True if text is non-null, 1 to maxLength characters long and made of
// printable ASCII only: what every constant option text and display name is.
inline bool isPlainText(const char* text, std::size_t maxLength = 64) {
    if (text == nullptr) {
        return false;
    }
    const std::size_t length = strnlen(text, maxLength + 1);
    if (length == 0 || length > maxLength) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < ' ' || text[i] > '~') {
            return false;
        }
    }
    return true;
}

inline bool isPlainText(const std::string& text, std::size_t maxLength = 64) {
    return text.size() <= maxLength && isPlainText(text.c_str(), maxLength) &&
           std::strlen(text.c_str()) == text.size();
}

// A float of any bit pattern: NaNs, infinities, subnormals and huge values
// included.
inline float consumeFloatBits(FuzzedDataProvider& input) {
    const std::uint32_t bits = input.ConsumeIntegral<std::uint32_t>();
    float value = 0.0F;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool sameText(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

}  // namespace VarnekFuzz

// Not assert(): the fuzz build defines NDEBUG, and a wrong answer must stop
// the run whatever the build type.
#define VARNEK_FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::VarnekFuzz::fail(#condition, __FILE__, __LINE__))

#endif  // VARNEK_FUZZ_FUZZCHECK_H
