#include <varnek/draw_style/DrawVisibleTypesCollection.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 8> s_names = {"images", "text",       "markers", "vertices",
                                                "edges",  "perimeters", "lines",   "faces"};

const char* onOff(bool flag) {
    return flag ? "on" : "off";
}

std::size_t indexOf(DrawVisibleType type) {
    return static_cast<std::size_t>(type);
}

}  // namespace

DrawVisibleTypesCollection::DrawVisibleTypesCollection(const std::vector<DrawVisibleType>& types)
    : m_typeFlags(convertVisibleTypes(types)), m_anyType(!types.empty()) {}

DrawVisibleTypesCollection::TypeFlags DrawVisibleTypesCollection::convertVisibleTypes(
    const std::vector<DrawVisibleType>& types) {
    TypeFlags flags{};
    for (const DrawVisibleType type : types) {
        if (isValid(type)) {
            flags[indexOf(type)] = true;
        }
    }
    return flags;
}

bool DrawVisibleTypesCollection::isValid(DrawVisibleType type) {
    return static_cast<unsigned int>(type) < s_numberOfVisibleTypes;
}

const char* DrawVisibleTypesCollection::visibleTypeToString(DrawVisibleType type) {
    return isValid(type) ? s_names[indexOf(type)] : "none";
}

bool DrawVisibleTypesCollection::isDrawTypeVisible(DrawVisibleType type) const {
    return isValid(type) && m_typeFlags[indexOf(type)];
}

std::string DrawVisibleTypesCollection::getHoopsNotation() const {
    std::string notation;
    for (std::size_t i = 0; i < s_numberOfVisibleTypes; ++i) {
        const auto type = static_cast<DrawVisibleType>(i);
        if (type == DrawVisibleType::Perimeters) {
            continue;  // written inside the edges entry
        }
        notation += visibleTypeToString(type);
        if (type == DrawVisibleType::Edges) {
            notation += "=(";
            notation += onOff(m_typeFlags[i]);
            notation += ',';
            notation += visibleTypeToString(DrawVisibleType::Perimeters);
            notation += '=';
            notation += onOff(m_typeFlags[indexOf(DrawVisibleType::Perimeters)]);
            notation += ')';
        } else {
            notation += '=';
            notation += onOff(m_typeFlags[i]);
        }
        if (i + 1 < s_numberOfVisibleTypes) {
            notation += ',';
        }
    }
    return notation;
}

}  // namespace Varnek
