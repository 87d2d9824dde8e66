// The fill pattern of a face: solid or one of eight hatchings. Its display
// name is translated; its option text is the graphics system's fill pattern.
#ifndef VARNEK_DRAW_STYLE_DRAWPATTERNFACE_H
#define VARNEK_DRAW_STYLE_DRAWPATTERNFACE_H

#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawPatternFace {
public:
    // Solid and the eight hatchings.
    enum Pattern : int {
        Solid = 0,
        Crosshatch = 1,
        VerticalBars = 2,
        HorizontalBars = 3,
        SlantRight = 4,
        SlantLeft = 5,
        Dotted = 6,
        Diamonds = 7,
        Checkerboard = 8
    };

    // Stores value unchecked.
    DrawPatternFace(Pattern value = Solid) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Pattern() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // The translation of the enumerator's name ("Solid", "Crosshatch", ...) in
    // the context "DrawPatternFace"; of "unknown" for a value outside 0 to 8.
    static std::string toString(Pattern value);
    std::string toString() const { return toString(m_value); }

    // "solid", "##", "||", "==", "//", a lone backslash, "::", "<><>" or
    // "[] []". A value outside 0 to 8 gets "solid", never a null pointer.
    static const char* getHoopsNotation(DrawPatternFace value) noexcept;

private:
    // True for 0 to 8; negative values are invalid.
    static bool isValid(Pattern value) noexcept;

    Pattern m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWPATTERNFACE_H
