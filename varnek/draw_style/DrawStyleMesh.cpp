#include <varnek/draw_style/DrawStyleMesh.h>

#include <array>
#include <cstdint>
#include <vector>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

struct MeshStyle {
    const char* displayText;
    const char* drawKey;
    std::size_t numberOfVisibleTypes;
    std::array<DrawVisibleType, 2> visibleTypes;
};

// The blanks after the comma in the keys of None and Wire are part of the
// graphics system's text as it is expected, and are kept.
constexpr std::array<MeshStyle, 6> s_styles = {{
    {"None", "face=off, edge=off", 0, {}},
    {"Filled", "face=on,edge=off", 1, {DrawVisibleType::Faces}},
    {"FilledWire", "face=on,edge=on", 2, {DrawVisibleType::Edges, DrawVisibleType::Faces}},
    {"Wire", "face=off, edge=on", 1, {DrawVisibleType::Edges}},
    {"Boundary", "face=off,edge=(off,perimeter=on)", 1, {DrawVisibleType::Perimeters}},
    {"FilledBoundary",
     "face=on,edge=(off,perimeter=on)",
     2,
     {DrawVisibleType::Perimeters, DrawVisibleType::Faces}},
}};

constexpr std::int64_t s_numberOfStyles = 6;

}  // namespace

DrawStyleMesh::DrawStyleMesh(const int& value) noexcept
    : m_value(isValid(static_cast<Enum>(value)) ? static_cast<Enum>(value) : None) {}

bool DrawStyleMesh::isValid(Enum value) noexcept {
    return internal::isIndexBelow(value, s_styles.size());
}

DrawStyleMesh::Enum DrawStyleMesh::next(Enum value) noexcept {
    // The step is a plain remainder, not a wrap at the last style, so out-of-
    // range values land where the arithmetic puts them; 64 bits keep the sum
    // of INT32_MAX and 1 from overflowing.
    const std::int64_t following = (static_cast<std::int64_t>(value) + 1) % s_numberOfStyles;
    return static_cast<Enum>(static_cast<int>(following));
}

std::string DrawStyleMesh::toString(Enum value) {
    return internal::lookup(s_styles, value, &MeshStyle::displayText, "unknown");
}

const char* DrawStyleMesh::getDrawKey(const DrawStyleMesh& style) noexcept {
    return internal::lookup(s_styles, style.m_value, &MeshStyle::drawKey, nullptr);
}

DrawVisibleTypesCollection DrawStyleMesh::getVisibleTypes(const DrawStyleMesh& style) {
    const MeshStyle* found = internal::findRow(s_styles, style.m_value);
    if (found == nullptr) {
        return DrawVisibleTypesCollection();
    }
    // None's empty list gives the same set as the default constructor.
    const auto first = found->visibleTypes.begin();
    const auto last = first + static_cast<std::ptrdiff_t>(found->numberOfVisibleTypes);
    return DrawVisibleTypesCollection(std::vector<DrawVisibleType>(first, last));
}

std::size_t hash_value(const DrawStyleMesh& style) noexcept {
    return static_cast<std::size_t>(
        static_cast<std::int64_t>(static_cast<DrawStyleMesh::Enum>(style)));
}

}  // namespace Varnek
