#include <varnek/draw_style/DrawVisibleTypesCollection.h>

#include <varnek/draw_style/internal/DrawTypeFlags.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 8> s_names = {"images", "text",       "markers", "vertices",
                                                "edges",  "perimeters", "lines",   "faces"};

}  // namespace

DrawVisibleTypesCollection::DrawVisibleTypesCollection(
    const std::vector<DrawVisibleType>& types) noexcept
    : m_typeFlags(convertVisibleTypes(types)), m_anyType(!types.empty()) {}

DrawVisibleTypesCollection::TypeFlags DrawVisibleTypesCollection::convertVisibleTypes(
    const std::vector<DrawVisibleType>& types) noexcept {
    return internal::flagsOfListedKinds<s_numberOfVisibleTypes>(types);
}

const char* DrawVisibleTypesCollection::visibleTypeToString(DrawVisibleType type) noexcept {
    return internal::lookup(s_names, type, "none");
}

bool DrawVisibleTypesCollection::isDrawTypeVisible(DrawVisibleType type) const noexcept {
    return internal::isFlagSet(m_typeFlags, type);
}

std::string DrawVisibleTypesCollection::getHoopsNotation() const {
    // Perimeters have no entry of their own; the edges entry carries their flag.
    return internal::onOffSettings(m_typeFlags, visibleTypeToString,
                                   internal::rowIndex(DrawVisibleType::Edges),
                                   internal::rowIndex(DrawVisibleType::Perimeters));
}

}  // namespace Varnek
