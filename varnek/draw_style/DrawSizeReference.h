// The unit a size is measured in. Its display name is not translated; its
// option text is the graphics system's size unit.
#ifndef VARNEK_DRAW_STYLE_DRAWSIZEREFERENCE_H
#define VARNEK_DRAW_STYLE_DRAWSIZEREFERENCE_H

#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawSizeReference {
public:
    // The units.
    enum Enum : int {
        World = 0,
        Object = 1,
        WindowFraction = 2,
        OuterWindowFraction = 3,
        Pixel = 4,
        Point = 5
    };

    // Stores value unchecked.
    DrawSizeReference(Enum value) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // "world", "object", "windowfraction", "outerwindowfraction", "pixel" or
    // "point"; "undefined" outside 0 to 5.
    static std::string toString(Enum value);

    // "wsu", "oru", "wru", "sru", "px" or "pt"; a null pointer outside 0 to 5.
    static const char* getHoopsNotation(DrawSizeReference value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSIZEREFERENCE_H
