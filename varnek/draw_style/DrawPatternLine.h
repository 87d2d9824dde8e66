// The dash pattern of a line. Its display name is translated; its option text
// is the graphics system's line pattern.
#ifndef VARNEK_DRAW_STYLE_DRAWPATTERNLINE_H
#define VARNEK_DRAW_STYLE_DRAWPATTERNLINE_H

#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawPatternLine {
public:
    // The dash patterns.
    enum Enum : int {
        Solid = 0,
        Dashed = 1,
        LongDashed = 2,
        Dotted = 3,
        FineDotted = 4,
        DotDotDash = 5,
        DotDash = 6,
        Custom = 7
    };

    // Stores value unchecked.
    DrawPatternLine(Enum value) noexcept : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // The translation of the enumerator's name ("Solid", "Dashed", ...) in the
    // context "DrawPatternLine"; of "unknown" for a value outside 0 to 7.
    static std::string toString(Enum value);

    // "---", "- -", "-- --", "...", "finedot", "..-", ".-" or "custom"; a null
    // pointer for a value outside 0 to 7.
    static const char* getHoopsNotation(DrawPatternLine value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWPATTERNLINE_H
