#include <varnek/draw_style/DrawLightingInterpolation.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

// Each text is a whole setting, so switching interpolation off is a phrase of
// its own rather than "= none".
constexpr std::array<const char*, 4> s_hoopsNotations = {
    "No lighting interpolation", "lighting interpolation = gouraud",
    "lighting interpolation = phong", "lighting interpolation = gooch"};

}  // namespace

const char* DrawLightingInterpolation::getHoopsNotation(DrawLightingInterpolation value) noexcept {
    return internal::lookup(s_hoopsNotations, value.m_value, nullptr);
}

}  // namespace Varnek
