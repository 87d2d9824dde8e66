#include <varnek/draw_style/DrawCylinderCapping.h>

#include <array>

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
    const auto index = static_cast<unsigned int>(value);
    return index < s_cappings.size() ? s_cappings[index].displayText : "unknown";
}

const char* DrawCylinderCapping::getHoopsNotation(DrawCylinderCapping value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < s_cappings.size() ? s_cappings[index].hoopsNotation : nullptr;
}

}  // namespace Varnek
