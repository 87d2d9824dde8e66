// The kinds of primitive a shader applies to, and the graphics system's list
// of those kinds. With no kind named, a shader applies to points.
#ifndef VARNEK_DRAW_STYLE_DRAWSHADERAFFECTEDTYPESCOLLECTION_H
#define VARNEK_DRAW_STYLE_DRAWSHADERAFFECTEDTYPESCOLLECTION_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <varnek/export.h>

namespace Varnek {

// A kind of primitive a shader can apply to.
enum class DrawShaderAffectedType : int { Points = 0, Lines = 1, Triangles = 2 };

class VARNEK_API DrawShaderAffectedTypesCollection {
public:
    // Sets the flag of every listed kind, ignoring values outside 0 to 2. An
    // empty list sets Points; a list of only invalid values sets nothing.
    DrawShaderAffectedTypesCollection(  // NOLINT(google-explicit-constructor)
        const std::vector<DrawShaderAffectedType>& types) noexcept;

    // The kind's flag; false for a value outside 0 to 2.
    bool isTypeAffected(DrawShaderAffectedType type) const noexcept;

    // The affected kinds in the order points, lines, triangles, joined by ","
    // (for example "points,triangles"); empty when no flag is set.
    std::string getHoopsNotation() const;

private:
    static constexpr std::size_t s_numberOfShaderAffectedTypes = 3;
    using TypeFlags = std::array<bool, s_numberOfShaderAffectedTypes>;

    static TypeFlags convertShaderAffectedTypes(
        const std::vector<DrawShaderAffectedType>& types) noexcept;
    // The kind's keyword, the empty string outside 0 to 2.
    static const char* shaderAffectedTypeToString(DrawShaderAffectedType type) noexcept;

    TypeFlags m_typeFlags;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSHADERAFFECTEDTYPESCOLLECTION_H
