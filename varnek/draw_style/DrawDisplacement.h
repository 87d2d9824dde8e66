// Five levels of depth displacement, each with the value the graphics system
// is given for it, and an untranslated display name.
#ifndef VARNEK_DRAW_STYLE_DRAWDISPLACEMENT_H
#define VARNEK_DRAW_STYLE_DRAWDISPLACEMENT_H

#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawDisplacement {
public:
    // The levels, from none to the highest.
    enum Enum : int { None = 0, Low = 1, Medium = 2, High = 3, Highest = 4 };

    // Only the static functions are used.
    DrawDisplacement() = delete;

    // 0, -2, -4, -6 or -10 (Highest jumps further than the steps before it);
    // 0 outside 0 to 4.
    static float getValue(Enum level) noexcept;

    // "None", "Low", "Medium", "High" or "Highest"; "Unknown" (capital U)
    // outside 0 to 4.
    static std::string toString(Enum level);
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWDISPLACEMENT_H
