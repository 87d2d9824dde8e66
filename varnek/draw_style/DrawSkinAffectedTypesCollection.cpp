#include <varnek/draw_style/DrawSkinAffectedTypesCollection.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 4> s_names = {"markers", "vertices", "edges", "faces"};

std::size_t indexOf(DrawSkinAffectedType type) {
    return static_cast<std::size_t>(type);
}

}  // namespace

DrawSkinAffectedTypesCollection::DrawSkinAffectedTypesCollection(
    const std::vector<DrawSkinAffectedType>& types)
    : m_typeFlags(convertSkinAffectedTypes(types)) {}

DrawSkinAffectedTypesCollection::TypeFlags
DrawSkinAffectedTypesCollection::convertSkinAffectedTypes(
    const std::vector<DrawSkinAffectedType>& types) {
    TypeFlags flags{};
    for (const DrawSkinAffectedType type : types) {
        if (isValid(type)) {
            flags[indexOf(type)] = true;
        }
    }
    return flags;
}

bool DrawSkinAffectedTypesCollection::isValid(DrawSkinAffectedType type) {
    return static_cast<unsigned int>(type) < s_numberOfSkinAffectedTypes;
}

const char* DrawSkinAffectedTypesCollection::skinAffectedTypeToString(DrawSkinAffectedType type) {
    return isValid(type) ? s_names[indexOf(type)] : "none";
}

std::string DrawSkinAffectedTypesCollection::getHoopsNotation() const {
    std::string notation;
    for (std::size_t i = 0; i < s_numberOfSkinAffectedTypes; ++i) {
        if (m_typeFlags[i]) {
            if (!notation.empty()) {
                notation += ',';
            }
            notation += skinAffectedTypeToString(static_cast<DrawSkinAffectedType>(i));
        }
    }
    return notation;
}

}  // namespace Varnek
