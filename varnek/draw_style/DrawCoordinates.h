// The coordinate space a size or position is given in, as the graphics
// system's option text.
#ifndef VARNEK_DRAW_STYLE_DRAWCOORDINATES_H
#define VARNEK_DRAW_STYLE_DRAWCOORDINATES_H

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawCoordinates {
public:
    // The coordinate spaces.
    enum Enum : int {
        Object = 0,
        World = 1,
        Viewpoint = 2,
        LocalWindow = 3,
        OuterWindow = 4,
        LocalPixels = 5,
        OuterPixels = 6
    };

    // Stores value unchecked.
    DrawCoordinates(Enum value) noexcept : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // "object", "world", "viewpoint", "local window", "outer window",
    // "local pixels" or "outer pixels"; a null pointer outside 0 to 6.
    static const char* getHoopsNotation(DrawCoordinates value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWCOORDINATES_H
