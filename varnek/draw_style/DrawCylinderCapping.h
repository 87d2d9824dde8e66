// Which ends of a cylinder are closed by a cap. Its display name is not
// translated; its option text is the graphics system's capping setting.
#ifndef VARNEK_DRAW_STYLE_DRAWCYLINDERCAPPING_H
#define VARNEK_DRAW_STYLE_DRAWCYLINDERCAPPING_H

#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawCylinderCapping {
public:
    // The ends that are capped.
    enum Enum : int { None = 0, First = 1, Second = 2, Both = 3 };

    // Stores value unchecked.
    DrawCylinderCapping(Enum value) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // "None", "First", "Second" or "Both"; "unknown" outside 0 to 3.
    static std::string toString(Enum value);

    // "none", "first", "second" or "both"; a null pointer outside 0 to 3.
    static const char* getHoopsNotation(DrawCylinderCapping value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWCYLINDERCAPPING_H
