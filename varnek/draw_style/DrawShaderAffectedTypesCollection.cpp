#include <varnek/draw_style/DrawShaderAffectedTypesCollection.h>

#include <varnek/draw_style/internal/DrawTypeFlags.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 3> s_names = {"points", "lines", "triangles"};

}  // namespace

DrawShaderAffectedTypesCollection::DrawShaderAffectedTypesCollection(
    const std::vector<DrawShaderAffectedType>& types) noexcept
    : m_typeFlags(convertShaderAffectedTypes(types)) {}

DrawShaderAffectedTypesCollection::TypeFlags
DrawShaderAffectedTypesCollection::convertShaderAffectedTypes(
    const std::vector<DrawShaderAffectedType>& types) noexcept {
    TypeFlags flags = internal::flagsOfListedKinds<s_numberOfShaderAffectedTypes>(types);
    if (types.empty()) {
        flags[internal::rowIndex(DrawShaderAffectedType::Points)] = true;
    }
    return flags;
}

const char* DrawShaderAffectedTypesCollection::shaderAffectedTypeToString(
    DrawShaderAffectedType type) noexcept {
    return internal::lookup(s_names, type, "");
}

bool DrawShaderAffectedTypesCollection::isTypeAffected(DrawShaderAffectedType type) const noexcept {
    return internal::isFlagSet(m_typeFlags, type);
}

std::string DrawShaderAffectedTypesCollection::getHoopsNotation() const {
    return internal::namesOfSetFlags(m_typeFlags, shaderAffectedTypeToString);
}

}  // namespace Varnek
