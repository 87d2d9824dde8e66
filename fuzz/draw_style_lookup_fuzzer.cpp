// Feeds arbitrary 32-bit values to every lookup of the draw-style vocabulary.
// An input is a sequence of (lookup, value) pairs. In range, each answer is
// plain constant text; out of range, it is exactly the documented fallback
// ("unknown", "undefined", "solid", a null pointer, 0.0 or false).
#include <cstddef>
#include <cstdint>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::isPlainText;
using VarnekFuzz::sameText;
using namespace Varnek;

bool inRange(std::int32_t value, std::int32_t count) {
    return value >= 0 && value < count;
}

template <typename E>
E as(std::int32_t value) {
    return static_cast<E>(value);
}

void checkColorMode(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const DrawColorMode mode(as<DrawColorMode::Enum>(value));
    VARNEK_FUZZ_CHECK(DrawColorMode::isValid(mode) == inRange(value, 6));
    const std::string name = mode.toString();
    VARNEK_FUZZ_CHECK(name == DrawColorMode::toString(mode));
    VARNEK_FUZZ_CHECK(inRange(value, 4) ? isPlainText(name) && name != "unknown"
                                        : name == "unknown");
    VARNEK_FUZZ_CHECK(hash_value(mode) == static_cast<std::size_t>(std::int64_t{value}));
}

void checkSymbol(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const auto symbol = static_cast<DrawSymbolPoint::Enum>(value);
    // CustomEmptyBoldCircle (36) and EmptyGlyph (42) have a notation but no
    // display name of their own.
    const std::string name = DrawSymbolPoint::toString(symbol);
    VARNEK_FUZZ_CHECK(inRange(value, 42) && value != 36 ? isPlainText(name) && name != "unknown"
                                                        : name == "unknown");
    const char* notation = DrawSymbolPoint::getHoopsNotation(symbol);
    VARNEK_FUZZ_CHECK(inRange(value, 43) ? isPlainText(notation, 40) : notation == nullptr);
}

using Check = void (*)(FuzzedDataProvider&);

const Check checks[] = {
    checkColorMode,
    checkSymbol,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    constexpr std::size_t count = sizeof(checks) / sizeof(checks[0]);
    while (input.remaining_bytes() > 0) {
        checks[input.ConsumeIntegralInRange<std::size_t>(0, count - 1)](input);
    }
    return 0;
}
