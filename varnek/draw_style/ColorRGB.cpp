#include <varnek/draw_style/ColorRGB.h>

#include <cstddef>
#include <cstdint>

#include <varnek/draw_style/internal/FloatTruncation.h>

namespace Varnek {
namespace {

// The field of a component of exactly 1. A constexpr array is constant-
// initialised in static storage at load time: no allocation, no lazy
// construction, hence nothing to guard against concurrent first use, and
// writing it takes five character stores.
constexpr char s_fieldOfOne[] = "1.000";
constexpr std::size_t s_fieldLength = sizeof(s_fieldOfOne) - 1;

// The text a new colour text starts from; toStringAt then overwrites all of it.
constexpr char s_template[] = "r=1.000 g=1.000 b=1.000";
static_assert(sizeof(s_template) - 1 == ColorRGB::s_textLength, "colour text is 23 characters");

void writeField(std::string& text, std::size_t q, float value) {
    if (value == 1.0F) {
        for (std::size_t i = 0; i < s_fieldLength; ++i) {
            text[q + i] = s_fieldOfOne[i];
        }
        return;
    }
    text[q] = '0';
    text[q + 1] = '.';
    float x = value;
    for (std::size_t k = 1; k <= 3; ++k) {
        // Each product is rounded to single precision before it is truncated,
        // which is why 0.29 gives "0.289". A negative remainder is kept as is.
        x = x * 10.0F;
        const std::int32_t digit = internal::truncateToInt32OrZero(x) % 10;
        text[q + 1 + k] = static_cast<char>('0' + digit);
    }
}

}  // namespace

std::string ColorRGB::toString(const ColorRGB& color) {
    return toString(color.m_red, color.m_green, color.m_blue);
}

std::string ColorRGB::toString(const std::array<float, 3>& rgb) {
    std::string text(s_template);
    toStringAt(text, 0, rgb);
    return text;
}

std::string ColorRGB::toString(float red, float green, float blue) {
    return toString(std::array<float, 3>{red, green, blue});
}

void ColorRGB::toStringAt(std::string& text, int position, const ColorRGB& color) noexcept {
    toStringAt(text, position, std::array<float, 3>{color.m_red, color.m_green, color.m_blue});
}

void ColorRGB::toStringAt(std::string& text, int position,
                          const std::array<float, 3>& rgb) noexcept {
    constexpr auto length = static_cast<std::size_t>(s_textLength);
    // Written as a subtraction so that no sum can overflow.
    if (position < 0 || text.size() < length ||
        static_cast<std::size_t>(position) > text.size() - length) {
        return;
    }
    const auto p = static_cast<std::size_t>(position);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        const std::size_t s = p + 8 * i;
        if (i > 0) {
            text[s - 1] = ' ';
        }
        text[s] = colorLetters[i];
        text[s + 1] = '=';
        writeField(text, s + 2, rgb[i]);
    }
}

}  // namespace Varnek
