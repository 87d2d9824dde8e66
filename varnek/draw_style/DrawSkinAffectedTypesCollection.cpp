#include <varnek/draw_style/DrawSkinAffectedTypesCollection.h>

#include <varnek/draw_style/internal/DrawTypeFlags.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 4> s_names = {"markers", "vertices", "edges", "faces"};

}  // namespace

DrawSkinAffectedTypesCollection::DrawSkinAffectedTypesCollection(
    const std::vector<DrawSkinAffectedType>& types) noexcept
    : m_typeFlags(convertSkinAffectedTypes(types)) {}

DrawSkinAffectedTypesCollection::TypeFlags
DrawSkinAffectedTypesCollection::convertSkinAffectedTypes(
    const std::vector<DrawSkinAffectedType>& types) noexcept {
    return internal::flagsOfListedKinds<s_numberOfSkinAffectedTypes>(types);
}

const char* DrawSkinAffectedTypesCollection::skinAffectedTypeToString(
    DrawSkinAffectedType type) noexcept {
    return internal::lookup(s_names, type, "none");
}

std::string DrawSkinAffectedTypesCollection::getHoopsNotation() const {
    return internal::namesOfSetFlags(m_typeFlags, skinAffectedTypeToString);
}

}  // namespace Varnek
