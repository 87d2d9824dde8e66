#include <varnek/draw_style/DrawShaderAffectedTypesCollection.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 3> s_names = {"points", "lines", "triangles"};

std::size_t indexOf(DrawShaderAffectedType type) {
    return static_cast<std::size_t>(type);
}

}  // namespace

DrawShaderAffectedTypesCollection::DrawShaderAffectedTypesCollection(
    const std::vector<DrawShaderAffectedType>& types)
    : m_typeFlags(convertShaderAffectedTypes(types)) {}

DrawShaderAffectedTypesCollection::TypeFlags
DrawShaderAffectedTypesCollection::convertShaderAffectedTypes(
    const std::vector<DrawShaderAffectedType>& types) {
    TypeFlags flags{};
    for (const DrawShaderAffectedType type : types) {
        if (isValid(type)) {
            flags[indexOf(type)] = true;
        }
    }
    if (types.empty()) {
        flags[indexOf(DrawShaderAffectedType::Points)] = true;
    }
    return flags;
}

bool DrawShaderAffectedTypesCollection::isValid(DrawShaderAffectedType type) {
    return static_cast<unsigned int>(type) < s_numberOfShaderAffectedTypes;
}

const char* DrawShaderAffectedTypesCollection::shaderAffectedTypeToString(
    DrawShaderAffectedType type) {
    return isValid(type) ? s_names[indexOf(type)] : "";
}

bool DrawShaderAffectedTypesCollection::isTypeAffected(DrawShaderAffectedType type) const {
    return isValid(type) && m_typeFlags[indexOf(type)];
}

std::string DrawShaderAffectedTypesCollection::getHoopsNotation() const {
    std::string notation;
    for (std::size_t i = 0; i < s_numberOfShaderAffectedTypes; ++i) {
        if (m_typeFlags[i]) {
            if (!notation.empty()) {
                notation += ',';
            }
            notation += shaderAffectedTypeToString(static_cast<DrawShaderAffectedType>(i));
        }
    }
    return notation;
}

}  // namespace Varnek
