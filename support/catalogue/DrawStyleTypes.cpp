#include "catalogue/DrawStyleTypes.h"

#include <array>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include <varnek/varnek.h>

namespace VarnekCatalogue {
namespace {

using namespace Varnek;

std::optional<std::string> optionalText(const char* text) {
    return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

// The library's texts of one value, as the rows take them.
template <typename Type, typename Enum>
std::optional<std::string> displayName(int value) {
    return Type::toString(static_cast<Enum>(value));
}

template <typename Type, typename Enum>
const char* hoopsNotation(int value) {
    return Type::getHoopsNotation(static_cast<Enum>(value));
}

template <typename Type, typename Enum>
std::optional<std::string> hoopsNotationText(int value) {
    return optionalText(hoopsNotation<Type, Enum>(value));
}

const char* drawKey(int value) {
    return DrawStyleMesh::getDrawKey(static_cast<DrawStyleMesh::Enum>(value));
}

std::optional<std::string> drawKeyText(int value) {
    return optionalText(drawKey(value));
}

std::optional<std::string> meshVisibility(int value) {
    return DrawStyleMesh::getVisibleTypes(static_cast<DrawStyleMesh::Enum>(value))
        .getHoopsNotation();
}

// The shortest text that reads back as the same float.
std::optional<std::string> displacementValue(int value) {
    std::array<char, 32> buffer{};
    const float displacement =
        DrawDisplacement::getValue(static_cast<DrawDisplacement::Enum>(value));
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), displacement);
    return std::string(buffer.data(), result.ptr);
}

// The option text of a set that holds this one kind.
template <typename Set, typename Kind>
std::optional<std::string> setOfOne(int value) {
    return Set(std::vector<Kind>{static_cast<Kind>(value)}).getHoopsNotation();
}

std::string symbolDisplayName(int value) {
    return DrawSymbolPoint::toString(static_cast<DrawSymbolPoint::Enum>(value));
}

std::string cappingDisplayName(int value) {
    return DrawCylinderCapping::toString(static_cast<DrawCylinderCapping::Enum>(value));
}

std::string meshDisplayName(int value) {
    return DrawStyleMesh::toString(static_cast<DrawStyleMesh::Enum>(value));
}

std::string displacementDisplayName(int value) {
    return DrawDisplacement::toString(static_cast<DrawDisplacement::Enum>(value));
}

// Names and range as the library gives them, for a type whose display name
// is the enumerator's name: the values run while the option text (or, for a
// type without one, the display name) has an answer; a value without a
// display name of its own is named by its option text.
std::vector<std::string> libraryNames(std::string (*name)(int), const char* fallback,
                                      const char* (*optionText)(int)) {
    std::vector<std::string> names;
    for (int value = 0;; ++value) {
        const std::string display = name(value);
        const char* option = optionText != nullptr ? optionText(value) : nullptr;
        const bool inRange = optionText != nullptr ? option != nullptr : display != fallback;
        if (!inRange) {
            return names;
        }
        if (display != fallback || option == nullptr) {
            names.push_back(display);
        } else {
            names.emplace_back(option);
        }
    }
}

constexpr ValueColumn s_display{"displayName", "display name", nullptr};

ValueColumn displayColumn(ValueText text) {
    return {s_display.key, s_display.heading, text};
}

template <typename Type, typename Enum>
ValueColumn notationColumn(const char* heading) {
    return {"hoopsNotation", heading, hoopsNotationText<Type, Enum>};
}

template <typename Type, typename Enum>
OptionTextLookup notationLookup() {
    return {"getHoopsNotation", hoopsNotation<Type, Enum>};
}

constexpr OptionTextLookup s_noOptionText{nullptr, nullptr};

std::vector<DrawStyleType> makeDrawStyleTypes() {
    return {
        {"DrawColorMode",
         "colour mode (translated display name)",
         {"RGB", "Index", "Type", "Skin", "-", "-"},
         {displayColumn(displayName<DrawColorMode, DrawColorMode::Enum>)},
         s_noOptionText},
        {"DrawPatternFace",
         "face fill pattern (translated display name)",
         {"Solid", "Crosshatch", "VerticalBars", "HorizontalBars", "SlantRight", "SlantLeft",
          "Dotted", "Diamonds", "Checkerboard"},
         {displayColumn(displayName<DrawPatternFace, DrawPatternFace::Pattern>),
          notationColumn<DrawPatternFace, DrawPatternFace::Pattern>("HOOPS fill pattern")},
         notationLookup<DrawPatternFace, DrawPatternFace::Pattern>()},
        {"DrawPatternLine",
         "line pattern (translated display name)",
         {"Solid", "Dashed", "LongDashed", "Dotted", "FineDotted", "DotDotDash", "DotDash",
          "Custom"},
         {displayColumn(displayName<DrawPatternLine, DrawPatternLine::Enum>),
          notationColumn<DrawPatternLine, DrawPatternLine::Enum>("HOOPS line pattern")},
         notationLookup<DrawPatternLine, DrawPatternLine::Enum>()},
        {"DrawCoordinates",
         "coordinate space",
         {"Object", "World", "Viewpoint", "LocalWindow", "OuterWindow", "LocalPixels",
          "OuterPixels"},
         {notationColumn<DrawCoordinates, DrawCoordinates::Enum>("HOOPS coordinate space")},
         notationLookup<DrawCoordinates, DrawCoordinates::Enum>()},
        {"DrawCylinderCapping",
         "cylinder capping",
         libraryNames(cappingDisplayName, "unknown",
                      hoopsNotation<DrawCylinderCapping, DrawCylinderCapping::Enum>),
         {displayColumn(displayName<DrawCylinderCapping, DrawCylinderCapping::Enum>),
          notationColumn<DrawCylinderCapping, DrawCylinderCapping::Enum>("HOOPS notation")},
         notationLookup<DrawCylinderCapping, DrawCylinderCapping::Enum>()},
        {"DrawLightingInterpolation",
         "lighting interpolation",
         {"None", "Gouraud", "Phong", "Gooch"},
         {notationColumn<DrawLightingInterpolation, DrawLightingInterpolation::Enum>(
             "HOOPS option setting")},
         notationLookup<DrawLightingInterpolation, DrawLightingInterpolation::Enum>()},
        {"DrawSizeReference",
         "size reference",
         {"World", "Object", "WindowFraction", "OuterWindowFraction", "Pixel", "Point"},
         {displayColumn(displayName<DrawSizeReference, DrawSizeReference::Enum>),
          notationColumn<DrawSizeReference, DrawSizeReference::Enum>("HOOPS size unit")},
         notationLookup<DrawSizeReference, DrawSizeReference::Enum>()},
        {"DrawTextAlignmentPoint",
         "text alignment point",
         {"LeftMiddle", "LeftTop", "LeftBottom", "RightMiddle", "RightTop", "RightBottom",
          "CenterMiddle", "CenterTop", "CenterBottom"},
         {notationColumn<DrawTextAlignmentPoint, DrawTextAlignmentPoint::Enum>("HOOPS alignment")},
         notationLookup<DrawTextAlignmentPoint, DrawTextAlignmentPoint::Enum>()},
        {"DrawStyleMesh",
         "mesh draw style",
         libraryNames(meshDisplayName, "unknown", drawKey),
         {displayColumn(displayName<DrawStyleMesh, DrawStyleMesh::Enum>),
          {"drawKey", "draw key", drawKeyText},
          {"visibility", "visibility of its visible types", meshVisibility}},
         {"getDrawKey", drawKey}},
        {"DrawZLayer",
         "z-layer (kept with a random label offset; no display name or option text)",
         {"Background", "Model", "Annotation", "Label", "Overlay"},
         {},
         s_noOptionText},
        {"DrawDisplacement",
         "displacement level",
         libraryNames(displacementDisplayName, "Unknown", nullptr),
         {displayColumn(displayName<DrawDisplacement, DrawDisplacement::Enum>),
          {"displacement", "displacement", displacementValue}},
         s_noOptionText},
        {"DrawVisibleType",
         "visible draw type (a visible set holding this type alone)",
         {"Images", "Text", "Markers", "Vertices", "Edges", "Perimeters", "Lines", "Faces"},
         {{"visibility", "visibility option text",
           setOfOne<DrawVisibleTypesCollection, DrawVisibleType>}},
         s_noOptionText},
        {"DrawSelectableType",
         "selectable draw type (a selectable set holding this type alone)",
         {"Images", "Text", "Markers", "Vertices", "Edges", "Lines", "Faces"},
         {{"selectability", "selectability option text",
           setOfOne<DrawSelectableTypesCollection, DrawSelectableType>}},
         s_noOptionText},
        {"DrawShaderAffectedType",
         "shader-affected draw type (a set holding this type alone)",
         {"Points", "Lines", "Triangles"},
         {{"hoopsNotation", "option text",
           setOfOne<DrawShaderAffectedTypesCollection, DrawShaderAffectedType>}},
         s_noOptionText},
        {"DrawSkinAffectedType",
         "skin-affected draw type (a set holding this type alone)",
         {"Markers", "Vertices", "Edges", "Faces"},
         {{"hoopsNotation", "option text",
           setOfOne<DrawSkinAffectedTypesCollection, DrawSkinAffectedType>}},
         s_noOptionText},
        {"DrawSymbolPoint",
         "point symbol (marker notation or glyph name)",
         libraryNames(symbolDisplayName, "unknown",
                      hoopsNotation<DrawSymbolPoint, DrawSymbolPoint::Enum>),
         {displayColumn(displayName<DrawSymbolPoint, DrawSymbolPoint::Enum>),
          notationColumn<DrawSymbolPoint, DrawSymbolPoint::Enum>("HOOPS notation")},
         notationLookup<DrawSymbolPoint, DrawSymbolPoint::Enum>()},
    };
}

}  // namespace

const std::vector<DrawStyleType>& drawStyleTypes() {
    static const std::vector<DrawStyleType> s_types = makeDrawStyleTypes();
    return s_types;
}

const DrawStyleType& drawStyleType(const char* name) {
    for (const DrawStyleType& type : drawStyleTypes()) {
        if (std::strcmp(type.name, name) == 0) {
            return type;
        }
    }
    throw std::out_of_range(std::string("no draw-style type ") + name);
}

}  // namespace VarnekCatalogue
