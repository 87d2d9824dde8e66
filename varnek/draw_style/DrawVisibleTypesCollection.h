// The kinds of geometry that are visible, one flag per kind, and the graphics
// system's visibility setting that spells out every kind as on or off.
#ifndef VARNEK_DRAW_STYLE_DRAWVISIBLETYPESCOLLECTION_H
#define VARNEK_DRAW_STYLE_DRAWVISIBLETYPESCOLLECTION_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <varnek/export.h>

namespace Varnek {

// A kind of geometry whose visibility can be switched.
enum class DrawVisibleType : int {
    Images = 0,
    Text = 1,
    Markers = 2,
    Vertices = 3,
    Edges = 4,
    Perimeters = 5,
    Lines = 6,
    Faces = 7
};

class VARNEK_API DrawVisibleTypesCollection {
public:
    // Nothing visible, and anyTypeVisible() is false.
    DrawVisibleTypesCollection() = default;

    // Sets the flag of every listed kind, ignoring values outside 0 to 7.
    // anyTypeVisible() tells whether the list had an entry, valid or not.
    DrawVisibleTypesCollection(  // NOLINT(google-explicit-constructor)
        const std::vector<DrawVisibleType>& types) noexcept;

    // The kind's flag; false for a value outside 0 to 7.
    bool isDrawTypeVisible(DrawVisibleType type) const noexcept;

    // Whether the list the set was built from was not empty.
    bool anyTypeVisible() const noexcept { return m_anyType; }

    // All seven entries, for example "images=off,text=off,markers=off,
    // vertices=off,edges=(on,perimeters=off),lines=off,faces=on": perimeters
    // have no entry of their own but are written inside the edges entry.
    std::string getHoopsNotation() const;

private:
    static constexpr std::size_t s_numberOfVisibleTypes = 8;
    using TypeFlags = std::array<bool, s_numberOfVisibleTypes>;

    static TypeFlags convertVisibleTypes(const std::vector<DrawVisibleType>& types) noexcept;
    // The kind's keyword, "none" outside 0 to 7.
    static const char* visibleTypeToString(DrawVisibleType type) noexcept;

    TypeFlags m_typeFlags{};
    bool m_anyType = false;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWVISIBLETYPESCOLLECTION_H
