#include <varnek/draw_style/DrawPatternLine.h>

#include <array>

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
    const auto index = static_cast<unsigned int>(value);
    const char* text = index < s_patterns.size() ? s_patterns[index].displayText : "unknown";
    return Translator::translate("DrawPatternLine", text, nullptr, -1);
}

const char* DrawPatternLine::getHoopsNotation(DrawPatternLine value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < s_patterns.size() ? s_patterns[index].hoopsNotation : nullptr;
}

}  // namespace Varnek
