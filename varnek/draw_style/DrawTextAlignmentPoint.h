// The point of a text box that sits at the text's position, as the graphics
// system's alignment text: first character horizontal ("<" left, ">" right,
// "*" centre), second vertical ("^" top, "v" bottom, "*" middle).
#ifndef VARNEK_DRAW_STYLE_DRAWTEXTALIGNMENTPOINT_H
#define VARNEK_DRAW_STYLE_DRAWTEXTALIGNMENTPOINT_H

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawTextAlignmentPoint {
public:
    // The nine points of the text box.
    enum Enum : int {
        LeftMiddle = 0,
        LeftTop = 1,
        LeftBottom = 2,
        RightMiddle = 3,
        RightTop = 4,
        RightBottom = 5,
        CenterMiddle = 6,
        CenterTop = 7,
        CenterBottom = 8
    };

    // Stores value unchecked.
    DrawTextAlignmentPoint(Enum value) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // "<*", "<^", "<v", ">*", ">^", ">v", "*" (centre point alone), "*^" or
    // "*v"; a null pointer outside 0 to 8. The text is shared and constant in
    // meaning although the pointer is not const: never write through it.
    static char* getHoopsNotation(DrawTextAlignmentPoint value) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWTEXTALIGNMENTPOINT_H
