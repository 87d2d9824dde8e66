// How lighting is interpolated across a face, as a complete option setting of
// the graphics system.
#ifndef VARNEK_DRAW_STYLE_DRAWLIGHTINGINTERPOLATION_H
#define VARNEK_DRAW_STYLE_DRAWLIGHTINGINTERPOLATION_H

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawLightingInterpolation {
public:
    // The interpolations: none, Gouraud, Phong or Gooch shading.
    enum Enum : int { None = 0, Gouraud = 1, Phong = 2, Gooch = 3 };

    // Stores value unchecked.
    DrawLightingInterpolation(Enum value) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // "No lighting interpolation" or "lighting interpolation = gouraud"
    // (phong, gooch); a null pointer outside 0 to 3.
    static const char* getHoopsNotation(DrawLightingInterpolation value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWLIGHTINGINTERPOLATION_H
