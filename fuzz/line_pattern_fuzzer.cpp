// Feeds arbitrary numbers (float weights of any bit pattern, any 32-bit
// lengths) and symbols (any 32-bit value) to the measurement-line factory.
// The definition must be exactly the documented concatenation: weights as
// printf's "%f" ("nan", "-nan", "inf", "-inf" when not finite), lengths in
// decimal, symbols as their notation or empty text outside 0 to 42. The
// contrast colour is kept bit for bit, the first argument changes nothing,
// and copies and moves keep both fields.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::consumeFloatBits;
using VarnekFuzz::sameBits;
using namespace Varnek;

std::string printed(float weight) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(weight));
    return buffer;
}

std::string notationOf(DrawSymbolPoint symbol) {
    const char* notation = DrawSymbolPoint::getHoopsNotation(symbol);
    return notation != nullptr ? notation : "";
}

std::string expectedDefinition(float startWeight, float endWeight, int dash, int blank,
                               DrawSymbolPoint startSymbol, DrawSymbolPoint endSymbol) {
    const std::string lengths = std::to_string(dash) + " pixel ";
    return "start arrows = 0.010000wru " + notationOf(startSymbol) +
           ", weighted=" + printed(startWeight) + " pixels, end arrows = 0.010000wru " +
           notationOf(endSymbol) + ", weighted=" + printed(endWeight) +
           " pixels,  blank, parallel, 0.5 pixel offset, " + lengths + "contrast, " +
           std::to_string(blank) + " pixel blank, parallel, -0.5 pixel offset, " + lengths +
           "dash, " + std::to_string(blank) + " pixel blank";
}

bool sameColor(const ColorRGB& a, const ColorRGB& b) {
    return sameBits(a.red(), b.red()) && sameBits(a.green(), b.green()) &&
           sameBits(a.blue(), b.blue());
}

DrawSymbolPoint::Enum consumeSymbol(FuzzedDataProvider& input) {
    return static_cast<DrawSymbolPoint::Enum>(
        input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(-1, 43)
                            : input.ConsumeIntegral<std::int32_t>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const float unused = consumeFloatBits(input);
    const float startWeight = consumeFloatBits(input);
    const float endWeight = consumeFloatBits(input);
    const int dash = input.ConsumeIntegral<std::int32_t>();
    const int blank = input.ConsumeIntegral<std::int32_t>();
    const DrawSymbolPoint startSymbol = consumeSymbol(input);
    const DrawSymbolPoint endSymbol = consumeSymbol(input);
    const ColorRGB color(consumeFloatBits(input), consumeFloatBits(input), consumeFloatBits(input));

    const DrawCustomPatternDefinitionLine pattern =
        DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
            unused, startWeight, endWeight, dash, blank, startSymbol, endSymbol, color);
    VARNEK_FUZZ_CHECK(pattern.getDefinition() == expectedDefinition(startWeight, endWeight, dash,
                                                                    blank, startSymbol, endSymbol));
    VARNEK_FUZZ_CHECK(sameColor(pattern.getContrastColor(), color));

    const DrawCustomPatternDefinitionLine other =
        DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
            consumeFloatBits(input), startWeight, endWeight, dash, blank, startSymbol, endSymbol,
            color);
    VARNEK_FUZZ_CHECK(other.getDefinition() == pattern.getDefinition());

    DrawCustomPatternDefinitionLine source(pattern);
    VARNEK_FUZZ_CHECK(source.getDefinition() == pattern.getDefinition());
    const DrawCustomPatternDefinitionLine moved(std::move(source));
    // A move copies the const fields and leaves the source as it was.
    VARNEK_FUZZ_CHECK(moved.getDefinition() == pattern.getDefinition());
    VARNEK_FUZZ_CHECK(sameColor(moved.getContrastColor(), color));
    // NOLINTBEGIN(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
    VARNEK_FUZZ_CHECK(source.getDefinition() == pattern.getDefinition());
    VARNEK_FUZZ_CHECK(sameColor(source.getContrastColor(), color));
    // NOLINTEND(bugprone-use-after-move,clang-analyzer-cplusplus.Move)

    // A definition of any text is kept as it was given.
    const std::string definition = input.ConsumeRemainingBytesAsString();
    const DrawCustomPatternDefinitionLine given(definition, color);
    VARNEK_FUZZ_CHECK(given.getDefinition() == definition);
    VARNEK_FUZZ_CHECK(sameColor(given.getContrastColor(), color));
    return 0;
}
