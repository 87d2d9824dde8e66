#include <varnek/draw_style/DrawCylinderCapping.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

struct CappingTexts {
    const char* displayText;
    const char* hoopsNotation;
};

constexpr std::array<CappingTexts, 4> s_cappings = {{
    {"None", "none"},
    {"First", "first"},
    {"Second", "second"},
    {"Both", "both"},
}};

}  // namespace

std::string DrawCylinderCapping::toString(Enum value) {
    return internal::lookup(s_cappings, value, &CappingTexts::displayText, "unknown");
}

const char* DrawCylinderCapping::getHoopsNotation(DrawCylinderCapping value) noexcept {
    return internal::lookup(s_cappings, value.m_value, &CappingTexts::hoopsNotation, nullptr);
}

}  // namespace Varnek
