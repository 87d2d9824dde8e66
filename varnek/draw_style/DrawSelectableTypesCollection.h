// The kinds of geometry that can be selected, one flag per kind, and the
// graphics system's selectability setting that spells out every kind.
#ifndef VARNEK_DRAW_STYLE_DRAWSELECTABLETYPESCOLLECTION_H
#define VARNEK_DRAW_STYLE_DRAWSELECTABLETYPESCOLLECTION_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <varnek/export.h>

namespace Varnek {

// A kind of geometry that can be made selectable. There are no perimeters
// here, so Lines and Faces are numbered one lower than their visible kinds.
enum class DrawSelectableType : int {
    Images = 0,
    Text = 1,
    Markers = 2,
    Vertices = 3,
    Edges = 4,
    Lines = 5,
    Faces = 6
};

class VARNEK_API DrawSelectableTypesCollection {
public:
    // Nothing selectable, and anyTypeSelectable() is false.
    DrawSelectableTypesCollection() = default;

    // Sets the flag of every listed kind, ignoring values outside 0 to 6.
    // anyTypeSelectable() tells whether the list had an entry, valid or not.
    DrawSelectableTypesCollection(  // NOLINT(google-explicit-constructor)
        const std::vector<DrawSelectableType>& types) noexcept;

    // The kind's flag; false for a value outside 0 to 6.
    bool isDrawTypeSelectable(DrawSelectableType type) const noexcept;

    // Whether the list the set was built from was not empty.
    bool anyTypeSelectable() const noexcept { return m_anyType; }

    // All seven entries, for example "images=off,text=off,markers=off,
    // vertices=off,edges=on,lines=off,faces=on".
    std::string getHoopsNotation() const;

private:
    static constexpr std::size_t s_numberOfSelectableTypes = 7;
    using TypeFlags = std::array<bool, s_numberOfSelectableTypes>;

    static TypeFlags convertSelectableTypes(const std::vector<DrawSelectableType>& types) noexcept;
    // The kind's keyword, "none" outside 0 to 6.
    static const char* selectableTypeToString(DrawSelectableType type) noexcept;

    TypeFlags m_typeFlags{};
    bool m_anyType = false;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSELECTABLETYPESCOLLECTION_H
