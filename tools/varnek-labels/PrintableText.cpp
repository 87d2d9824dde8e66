#include "PrintableText.h"

namespace VarnekLabels {

Utf8Character decodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0U;
    };
    const unsigned int first = byte(0);
    if (first < 0x80U) {
        return {1, first};
    }
    const std::size_t length = first >= 0xF0U ? 4 : first >= 0xE0U ? 3 : first >= 0xC0U ? 2 : 0;
    if (length == 0 || first > 0xF4U) {
        return {};
    }
    unsigned int code = first & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0U) != 0x80U) {
            return {};
        }
        code = (code << 6U) | (byte(i) & 0x3FU);
    }
    constexpr unsigned int s_smallest[] = {0, 0, 0x80U, 0x800U, 0x10000U};
    const bool wellFormed =
        code >= s_smallest[length] && code <= 0x10FFFFU && (code < 0xD800U || code > 0xDFFFU);
    return wellFormed ? Utf8Character{length, code} : Utf8Character{};
}

std::string printable(std::string_view text) {
    constexpr const char* s_digits = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = decodeUtf8(text, at);
        const bool control =
            character.code < 0x20U || (character.code >= 0x7FU && character.code < 0xA0U);
        if (character.length != 0 && !control) {
            result.append(text, at, character.length);
            at += character.length;
            continue;
        }
        for (std::size_t i = 0; i < (character.length != 0 ? character.length : 1); ++i, ++at) {
            const auto byte = static_cast<unsigned char>(text[at]);
            result += "\\x";
            result += s_digits[byte >> 4U];
            result += s_digits[byte & 0x0FU];
        }
    }
    return result;
}

}  // namespace VarnekLabels
