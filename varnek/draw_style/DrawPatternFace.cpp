#include <varnek/draw_style/DrawPatternFace.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>
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

bool DrawPatternFace::isValid(Pattern value) noexcept {
    return internal::isIndexBelow(value, s_patterns.size());
}

std::string DrawPatternFace::toString(Pattern value) {
    return Translator::translate(
        "DrawPatternFace",
        internal::lookup(s_patterns, value, &PatternTexts::displayText, "unknown"), nullptr, -1);
}

const char* DrawPatternFace::getHoopsNotation(DrawPatternFace value) noexcept {
    // An unknown pattern is filled solid rather than left without a pattern.
    const Pattern pattern = isValid(value.m_value) ? value.m_value : Solid;
    return s_patterns[internal::rowIndex(pattern)].hoopsNotation;
}

}  // namespace Varnek
