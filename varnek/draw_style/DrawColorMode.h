// The colour mode of a drawn entity: by RGB value, by colour index, by entity
// type or by skin. Its display name is translated.
#ifndef VARNEK_DRAW_STYLE_DRAWCOLORMODE_H
#define VARNEK_DRAW_STYLE_DRAWCOLORMODE_H

#include <cstddef>
#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawColorMode {
public:
    // Values 4 and 5 are valid but have no display text of their own.
    enum Enum : int { RGB = 0, Index = 1, Type = 2, Skin = 3, Reserved4 = 4, Reserved5 = 5 };

    // Stores value unchecked.
    DrawColorMode(Enum value = Index) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // True for 0 to 5; negative values are invalid.
    static bool isValid(Enum value) noexcept;

    // The translation of "RGB", "Index", "Type" or "Skin" in the context
    // "DrawColorMode"; of "unknown" for any other value, 4 and 5 included.
    static std::string toString(Enum value);
    std::string toString() const { return toString(m_value); }

private:
    Enum m_value;
};

// The stored enumerator widened by sign extension, for hashed containers.
VARNEK_API std::size_t hash_value(const DrawColorMode& mode) noexcept;

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWCOLORMODE_H
