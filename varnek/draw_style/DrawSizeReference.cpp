#include <varnek/draw_style/DrawSizeReference.h>

#include <array>

namespace Varnek {
namespace {

struct UnitTexts {
    const char* displayText;
    const char* hoopsNotation;
};

constexpr std::array<UnitTexts, 6> s_units = {{
    {"world", "wsu"},
    {"object", "oru"},
    {"windowfraction", "wru"},
    {"outerwindowfraction", "sru"},
    {"pixel", "px"},
    {"point", "pt"},
}};

}  // namespace

std::string DrawSizeReference::toString(Enum value) {
    const auto index = static_cast<unsigned int>(value);
    return index < s_units.size() ? s_units[index].displayText : "undefined";
}

const char* DrawSizeReference::getHoopsNotation(DrawSizeReference value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < s_units.size() ? s_units[index].hoopsNotation : nullptr;
}

}  // namespace Varnek
