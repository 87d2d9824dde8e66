#include <varnek/draw_style/DrawDisplacement.h>

#include <array>

namespace Varnek {
namespace {

struct Level {
    float value;
    const char* displayText;
};

constexpr std::array<Level, 5> s_levels = {{
    {0.0f, "None"},
    {-2.0f, "Low"},
    {-4.0f, "Medium"},
    {-6.0f, "High"},
    {-10.0f, "Highest"},
}};

}  // namespace

float DrawDisplacement::getValue(Enum level) {
    const auto index = static_cast<unsigned int>(level);
    return index < s_levels.size() ? s_levels[index].value : 0.0f;
}

std::string DrawDisplacement::toString(Enum level) {
    const auto index = static_cast<unsigned int>(level);
    return index < s_levels.size() ? s_levels[index].displayText : "Unknown";
}

}  // namespace Varnek
