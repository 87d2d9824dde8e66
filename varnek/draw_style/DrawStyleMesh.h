// How a mesh is drawn: not at all, filled, as wire, as its boundary, or filled
// with wire or boundary. Gives the graphics system's draw key, the set of
// visible kinds the style switches on, and an untranslated display name.
#ifndef VARNEK_DRAW_STYLE_DRAWSTYLEMESH_H
#define VARNEK_DRAW_STYLE_DRAWSTYLEMESH_H

#include <cstddef>
#include <string>

#include <varnek/draw_style/DrawVisibleTypesCollection.h>
#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawStyleMesh {
public:
    // The styles.
    enum Enum : int {
        None = 0,
        Filled = 1,
        FilledWire = 2,
        Wire = 3,
        Boundary = 4,
        FilledBoundary = 5
    };

    // Stores value unchecked.
    DrawStyleMesh(Enum value = Filled) noexcept
        : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // Stores value if it lies in 0 to 5, otherwise None. Explicit, so that a
    // stray integer never silently becomes None where a style is expected.
    explicit DrawStyleMesh(const int& value) noexcept;

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // True for 0 to 5; negative values are invalid.
    static bool isValid(Enum value) noexcept;

    // The style after value in the cycle None, Filled, FilledWire, Wire,
    // Boundary, FilledBoundary, None: the signed remainder (value + 1) % 6.
    // Out of range: 6 gives Filled, -1 gives None, -2 gives -1, and INT32_MAX
    // gives FilledWire (the sum is taken without wrapping around).
    static Enum next(Enum value) noexcept;

    // "None", "Filled", "FilledWire", "Wire", "Boundary" or "FilledBoundary";
    // "unknown" outside 0 to 5.
    static std::string toString(Enum value);
    std::string toString() const { return toString(m_value); }

    // "face=off, edge=off", "face=on,edge=off", "face=on,edge=on",
    // "face=off, edge=on", "face=off,edge=(off,perimeter=on)" or
    // "face=on,edge=(off,perimeter=on)"; a null pointer outside 0 to 5.
    static const char* getDrawKey(const DrawStyleMesh& style) noexcept;

    // Faces for the filled styles, Edges for the wire styles and Perimeters
    // for the boundary styles; an empty set (anyTypeVisible() false) for None
    // and outside 0 to 5.
    static DrawVisibleTypesCollection getVisibleTypes(const DrawStyleMesh& style);

private:
    Enum m_value;
};

// The stored enumerator widened by sign extension, for hashed containers.
VARNEK_API std::size_t hash_value(const DrawStyleMesh& style) noexcept;

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSTYLEMESH_H
