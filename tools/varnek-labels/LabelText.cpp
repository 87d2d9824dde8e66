#include "LabelText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

#include "PrintableText.h"

namespace VarnekLabels {
namespace {

// A label's text is drawn at this share of its content height.
constexpr float s_fontShareOfHeight = 0.8f;
// The content height whose font size is s_measuredFontSize.
constexpr float s_measuredHeight = s_measuredFontSize / s_fontShareOfHeight;
// Without a font the baseline lies this share of the font size below the
// body's centre, which centres the capitals and digits of a common font.
constexpr float s_baselineShare = 0.35f;
// The room a measured width leaves either side of the text, in font sizes.
constexpr float s_sideRoom = 0.125f;
// The warnings name this many labels each, then count the rest.
constexpr std::size_t s_namedWarnings = 10;
// And show this many characters of a text.
constexpr std::size_t s_shownCharacters = 40;

// The length of the character starting at text[at]; a byte outside
// well-formed UTF-8 counts as one.
std::size_t characterLength(std::string_view text, std::size_t at) {
    return std::max<std::size_t>(decodeUtf8(text, at).length, 1);
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += characterLength(text, at)) {
        ++count;
    }
    return count;
}

// The first s_shownCharacters characters of text, "..." after them when
// there are more.
std::string shortened(std::string_view text) {
    std::size_t at = 0;
    for (std::size_t count = 0; count < s_shownCharacters && at < text.size(); ++count) {
        at += characterLength(text, at);
    }
    return std::string(text.substr(0, at)) + (at < text.size() ? "..." : "");
}

std::string oneDecimal(float value) {
    char digits[64];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    return result.ec == std::errc() ? std::string(digits, result.ptr) : formatFloat(value);
}

// The width a text needs at fontSize, without room either side.
float neededWidth(const TextMeasure* font, std::string_view text, float fontSize) {
    if (font != nullptr) {
        return font->advance(text, fontSize);
    }
    return static_cast<float>(characterCount(text)) * s_averageAdvance * fontSize;
}

float measuredWidth(const TextMeasure& font, std::string_view text, float fontSize) {
    return font.advance(text, fontSize) + 2.0f * s_sideRoom * fontSize;
}

bool isUsableSize(const Vec3& size) {
    return std::isfinite(size[0]) && std::isfinite(size[1]) && size[0] >= 0.0f && size[1] >= 0.0f;
}

}  // namespace

float fontSizeFor(float height) {
    return s_fontShareOfHeight * height;
}

float baselineBelowCentre(float fontSize, const TextMeasure* font) {
    if (font == nullptr) {
        return s_baselineShare * fontSize;
    }
    return 0.5f * (font->ascent() - font->descent()) * fontSize;
}

Vec3 measuredSize(const TextMeasure& font, std::string_view text) {
    return Vec3(measuredWidth(font, text, s_measuredFontSize), s_measuredHeight, 0.0f);
}

void measureSizes(std::vector<InputLabel>& labels, const TextMeasure& font) {
    for (InputLabel& label : labels) {
        if (!label.heightGiven) {
            label.size[1] = s_measuredHeight;
        }
        if (!label.widthGiven) {
            label.size[0] = measuredWidth(font, label.text, fontSizeFor(label.size[1]));
        }
    }
}

std::string textFitWarnings(const std::vector<InputLabel>& labels, const TextMeasure* font,
                            const std::string& source) {
    std::string warnings;
    std::size_t count = 0;
    for (const InputLabel& label : labels) {
        if (label.text.empty() || !label.widthGiven || !isUsableSize(label.size)) {
            continue;
        }
        const float fontSize = fontSizeFor(label.size[1]);
        const float needed = neededWidth(font, label.text, fontSize);
        if (!(needed > label.size[0])) {
            continue;
        }
        if (++count <= s_namedWarnings) {
            warnings += "varnek-labels: " +
                        printable(source + ":" + std::to_string(label.line) +
                                  ": warning: the text '" + shortened(label.text)) +
                        "' needs a width of " + (font != nullptr ? "" : "about ") +
                        oneDecimal(needed) + " at font size " + oneDecimal(fontSize) +
                        "; the label is " + formatFloat(label.size[0]) + " wide\n";
        }
    }
    if (count > s_namedWarnings) {
        warnings += "varnek-labels: warning: " + std::to_string(count - s_namedWarnings) +
                    " more labels' texts do not fit their width\n";
    }
    return warnings;
}

std::string fontFamilyStyle(const TextMeasure* font) {
    if (font == nullptr || font->family().empty()) {
        return "";
    }
    std::string family;
    for (const char c : font->family()) {
        const bool quoting = c == '\'' || c == '"' || c == '\\' || c == ';';
        if (!quoting && static_cast<unsigned char>(c) >= 0x20U && c != '\x7f') {
            family += c;
        }
    }
    return ";font-family:'" + family + "'";
}

}  // namespace VarnekLabels
