#include <varnek/draw_style/DrawPatternLine.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>
#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

struct PatternTexts {
    const char* displayText;
    const char* hoopsNotation;
};

constexpr std::array<PatternTexts, 8> s_patterns = {{
    {"Solid", "---"},
    {"Dashed", "- -"},
    {"LongDashed", "-- --"},
    {"Dotted", "..."},
    {"FineDotted", "finedot"},
    {"DotDotDash", "..-"},
    {"DotDash", ".-"},
    {"Custom", "custom"},
}};

}  // namespace

std::string DrawPatternLine::toString(Enum value) {
    return Translator::translate(
        "DrawPatternLine",
        internal::lookup(s_patterns, value, &PatternTexts::displayText, "unknown"), nullptr, -1);
}

const char* DrawPatternLine::getHoopsNotation(DrawPatternLine value) noexcept {
    return internal::lookup(s_patterns, value.m_value, &PatternTexts::hoopsNotation, nullptr);
}

}  // namespace Varnek
