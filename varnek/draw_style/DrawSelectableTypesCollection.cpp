#include <varnek/draw_style/DrawSelectableTypesCollection.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 7> s_names = {"images", "text",  "markers", "vertices",
                                                "edges",  "lines", "faces"};

std::size_t indexOf(DrawSelectableType type) {
    return static_cast<std::size_t>(type);
}

}  // namespace

DrawSelectableTypesCollection::DrawSelectableTypesCollection(
    const std::vector<DrawSelectableType>& types)
    : m_typeFlags(convertSelectableTypes(types)), m_anyType(!types.empty()) {}

DrawSelectableTypesCollection::TypeFlags DrawSelectableTypesCollection::convertSelectableTypes(
    const std::vector<DrawSelectableType>& types) {
    TypeFlags flags{};
    for (const DrawSelectableType type : types) {
        if (isValid(type)) {
            flags[indexOf(type)] = true;
        }
    }
    return flags;
}

bool DrawSelectableTypesCollection::isValid(DrawSelectableType type) {
    return static_cast<unsigned int>(type) < s_numberOfSelectableTypes;
}

const char* DrawSelectableTypesCollection::selectableTypeToString(DrawSelectableType type) {
    return isValid(type) ? s_names[indexOf(type)] : "none";
}

bool DrawSelectableTypesCollection::isDrawTypeSelectable(DrawSelectableType type) const {
    return isValid(type) && m_typeFlags[indexOf(type)];
}

std::string DrawSelectableTypesCollection::getHoopsNotation() const {
    std::string notation;
    for (std::size_t i = 0; i < s_numberOfSelectableTypes; ++i) {
        notation += selectableTypeToString(static_cast<DrawSelectableType>(i));
        notation += m_typeFlags[i] ? "=on" : "=off";
        if (i + 1 < s_numberOfSelectableTypes) {
            notation += ',';
        }
    }
    return notation;
}

}  // namespace Varnek
