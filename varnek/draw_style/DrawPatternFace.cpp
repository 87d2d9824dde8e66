#include <varnek/draw_style/DrawPatternFace.h>

#include <array>
#include <cstddef>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

struct PatternTexts {
    const char* displayText;
    const char* hoopsNotation;
};

constexpr std::array<PatternTexts, 9> s_patterns = {{
    {"Solid", "solid"},
    {"Crosshatch", "##"},
    {"VerticalBars", "||"},
    {"HorizontalBars", "=="},
    {"SlantRight", "//"},
    {"SlantLeft", "\\"},
    {"Dotted", "::"},
    {"Diamonds", "<><>"},
    {"Checkerboard", "[] []"},
}};

}  // namespace

bool DrawPatternFace::isValid(Pattern value) {
    return static_cast<unsigned int>(value) < s_patterns.size();
}

std::string DrawPatternFace::toString(Pattern value) {
    const char* text =
        isValid(value) ? s_patterns[static_cast<std::size_t>(value)].displayText : "unknown";
    return Translator::translate("DrawPatternFace", text, nullptr, -1);
}

const char* DrawPatternFace::getHoopsNotation(DrawPatternFace value) {
    // An unknown pattern is filled solid rather than left without a pattern.
    const Pattern pattern = isValid(value) ? value.m_value : Solid;
    return s_patterns[static_cast<std::size_t>(pattern)].hoopsNotation;
}

}  // namespace Varnek
