#include <varnek/draw_style/DrawLightingInterpolation.h>

#include <array>

namespace Varnek {
namespace {

// Each text is a whole setting, so switching interpolation off is a phrase of
// its own rather than "= none".
constexpr std::array<const char*, 4> s_hoopsNotations = {
    "No lighting interpolation", "lighting interpolation = gouraud",
    "lighting interpolation = phong", "lighting interpolation = gooch"};

}  // namespace

const char* DrawLightingInterpolation::getHoopsNotation(DrawLightingInterpolation value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < s_hoopsNotations.size() ? s_hoopsNotations[index] : nullptr;
}

}  // namespace Varnek
