#include <varnek/draw_style/DrawSelectableTypesCollection.h>

#include <varnek/draw_style/internal/DrawTypeFlags.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 7> s_names = {"images", "text",  "markers", "vertices",
                                                "edges",  "lines", "faces"};

}  // namespace

DrawSelectableTypesCollection::DrawSelectableTypesCollection(
    const std::vector<DrawSelectableType>& types) noexcept
    : m_typeFlags(convertSelectableTypes(types)), m_anyType(!types.empty()) {}

DrawSelectableTypesCollection::TypeFlags DrawSelectableTypesCollection::convertSelectableTypes(
    const std::vector<DrawSelectableType>& types) noexcept {
    return internal::flagsOfListedKinds<s_numberOfSelectableTypes>(types);
}

const char* DrawSelectableTypesCollection::selectableTypeToString(
    DrawSelectableType type) noexcept {
    return internal::lookup(s_names, type, "none");
}

bool DrawSelectableTypesCollection::isDrawTypeSelectable(DrawSelectableType type) const noexcept {
    return internal::isFlagSet(m_typeFlags, type);
}

std::string DrawSelectableTypesCollection::getHoopsNotation() const {
    return internal::onOffSettings(m_typeFlags, selectableTypeToString);
}

}  // namespace Varnek
