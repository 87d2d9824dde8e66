// Feeds colours of any float bit pattern (NaN, infinities, huge and negative
// values) to the colour text and the glyph colour bytes, and writes colour
// texts at any position into arbitrary texts. A colour text is 23 characters
// with fixed letters, blanks and "=" signs; each field is "1.000" or "0." and
// three digits derived exactly as documented (a product that is not finite or
// does not fit 32 bits gives '0'). Writing at a position keeps the length,
// changes only the 23 characters from there, and changes nothing at all when
// the text does not fit at that position.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::consumeFloatBits;
using namespace Varnek;

// Whether the product can be truncated to a 32-bit integer without overflow
// (false for NaN and infinities).
bool fitsInt32(float product) {
    return product >= -2147483648.0F && product < 2147483648.0F;
}

// The five characters of a component's field.
std::string expectedField(float component) {
    if (component == 1.0F) {
        return "1.000";
    }
    std::string field = "0.";
    float x = component;
    for (int k = 0; k < 3; ++k) {
        x = x * 10.0F;
        const int truncated = fitsInt32(x) ? static_cast<int>(x) : 0;
        field += static_cast<char>('0' + truncated % 10);
    }
    return field;
}

void checkColorText(const ColorRGB& color) {
    const std::string text = ColorRGB::toString(color);
    VARNEK_FUZZ_CHECK(text.size() == 23);
    const std::string expected = "r=" + expectedField(color.red()) +
                                 " g=" + expectedField(color.green()) +
                                 " b=" + expectedField(color.blue());
    VARNEK_FUZZ_CHECK(text == expected);
    const std::array<float, 3> rgb = {color.red(), color.green(), color.blue()};
    VARNEK_FUZZ_CHECK(ColorRGB::toString(rgb) == text);
    VARNEK_FUZZ_CHECK(ColorRGB::toString(color.red(), color.green(), color.blue()) == text);
}

void checkGlyphColor(const ColorRGB& color) {
    const std::array<char, 3> bytes = DrawSymbolPoint::getGlyphColorAsChars(color);
    const float components[] = {color.red(), color.green(), color.blue()};
    for (std::size_t i = 0; i < 3; ++i) {
        const float product = components[i] * 255.0F;
        const auto low = fitsInt32(product) ? static_cast<std::uint8_t>(static_cast<std::uint32_t>(
                                                  static_cast<std::int32_t>(product)))
                                            : std::uint8_t{0};
        VARNEK_FUZZ_CHECK(static_cast<std::uint8_t>(bytes[i]) == low);
    }
}

void checkWriteAt(const ColorRGB& color, std::string text, std::int32_t position) {
    const std::string before = text;
    const std::array<float, 3> rgb = {color.red(), color.green(), color.blue()};
    std::string viaArray = text;
    ColorRGB::toStringAt(text, position, color);
    ColorRGB::toStringAt(viaArray, position, rgb);
    VARNEK_FUZZ_CHECK(text == viaArray);
    VARNEK_FUZZ_CHECK(text.size() == before.size());
    const bool fits =
        position >= 0 && std::int64_t{position} + 23 <= static_cast<std::int64_t>(before.size());
    if (!fits) {
        VARNEK_FUZZ_CHECK(text == before);
        return;
    }
    const auto start = static_cast<std::size_t>(position);
    VARNEK_FUZZ_CHECK(text.compare(0, start, before, 0, start) == 0);
    VARNEK_FUZZ_CHECK(text.compare(start, 23, ColorRGB::toString(color)) == 0);
    VARNEK_FUZZ_CHECK(
        text.compare(start + 23, std::string::npos, before, start + 23, std::string::npos) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    while (input.remaining_bytes() > 0) {
        const float red = consumeFloatBits(input);
        const float green = consumeFloatBits(input);
        const float blue = consumeFloatBits(input);
        const ColorRGB color(red, green, blue);
        checkColorText(color);
        checkGlyphColor(color);
        // Mostly positions near the text, sometimes anywhere in 32 bits.
        const std::int32_t position = input.ConsumeBool()
                                          ? input.ConsumeIntegralInRange<std::int32_t>(-3, 60)
                                          : input.ConsumeIntegral<std::int32_t>();
        checkWriteAt(color, input.ConsumeRandomLengthString(64), position);
    }
    return 0;
}
