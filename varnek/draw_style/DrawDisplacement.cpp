#include <varnek/draw_style/DrawDisplacement.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>

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

float DrawDisplacement::getValue(Enum level) noexcept {
    return internal::lookup(s_levels, level, &Level::value, 0.0F);
}

std::string DrawDisplacement::toString(Enum level) {
    return internal::lookup(s_levels, level, &Level::displayText, "Unknown");
}

}  // namespace Varnek
