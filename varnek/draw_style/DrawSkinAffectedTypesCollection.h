// The kinds of geometry a skin applies to, and the graphics system's list of
// those kinds.
#ifndef VARNEK_DRAW_STYLE_DRAWSKINAFFECTEDTYPESCOLLECTION_H
#define VARNEK_DRAW_STYLE_DRAWSKINAFFECTEDTYPESCOLLECTION_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <varnek/export.h>

namespace Varnek {

// A kind of geometry a skin can apply to.
enum class DrawSkinAffectedType : int { Markers = 0, Vertices = 1, Edges = 2, Faces = 3 };

class VARNEK_API DrawSkinAffectedTypesCollection {
public:
    // Sets the flag of every listed kind, ignoring values outside 0 to 3.
    DrawSkinAffectedTypesCollection(  // NOLINT(google-explicit-constructor)
        const std::vector<DrawSkinAffectedType>& types) noexcept;

    // The affected kinds in the order markers, vertices, edges, faces, joined
    // by "," (for example "edges,faces"); empty when no flag is set.
    std::string getHoopsNotation() const;

private:
    static constexpr std::size_t s_numberOfSkinAffectedTypes = 4;
    using TypeFlags = std::array<bool, s_numberOfSkinAffectedTypes>;

    static TypeFlags convertSkinAffectedTypes(
        const std::vector<DrawSkinAffectedType>& types) noexcept;
    // The kind's keyword, "none" outside 0 to 3.
    static const char* skinAffectedTypeToString(DrawSkinAffectedType type) noexcept;

    TypeFlags m_typeFlags;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSKINAFFECTEDTYPESCOLLECTION_H
