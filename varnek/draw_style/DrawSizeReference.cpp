#include <varnek/draw_style/DrawSizeReference.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>

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
    return internal::lookup(s_units, value, &UnitTexts::displayText, "undefined");
}

const char* DrawSizeReference::getHoopsNotation(DrawSizeReference value) noexcept {
    return internal::lookup(s_units, value.m_value, &UnitTexts::hoopsNotation, nullptr);
}

}  // namespace Varnek
