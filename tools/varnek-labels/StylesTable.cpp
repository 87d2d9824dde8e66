#include "StylesTable.h"

#include <algorithm>
#include <array>

#include <varnek/varnek.h>
#include <nlohmann/json.hpp>

#include "NumberText.h"

namespace VarnekLabels {
namespace {

using namespace Varnek;

std::optional<std::string> optionalText(const char* text) {
    return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

// A section whose values are 0 to names.size() - 1; cellsOf(value) gives
// the cells of one value.
template <std::size_t N, typename CellsOf>
StyleSection enumeratedSection(std::string type, std::string about,
                               std::vector<StyleColumn> columns,
                               const std::array<const char*, N>& names, CellsOf cellsOf) {
    StyleSection section{std::move(type), std::move(about), std::move(columns), {}};
    for (std::size_t i = 0; i < N; ++i) {
        const int value = static_cast<int>(i);
        section.entries.push_back({value, names[i], cellsOf(value)});
    }
    return section;
}

constexpr StyleColumn s_display{"displayName", "display name"};
constexpr StyleColumn s_hoops{"hoopsNotation", "HOOPS notation"};

constexpr std::array<const char*, 6> s_colorModes{"RGB", "Index", "Type", "Skin", "-", "-"};
constexpr std::array<const char*, 9> s_facePatterns{"Solid",          "Crosshatch", "VerticalBars",
                                                    "HorizontalBars", "SlantRight", "SlantLeft",
                                                    "Dotted",         "Diamonds",   "Checkerboard"};
constexpr std::array<const char*, 8> s_linePatterns{
    "Solid", "Dashed", "LongDashed", "Dotted", "FineDotted", "DotDotDash", "DotDash", "Custom"};
constexpr std::array<const char*, 7> s_coordinates{
    "Object", "World", "Viewpoint", "LocalWindow", "OuterWindow", "LocalPixels", "OuterPixels"};
constexpr std::array<const char*, 4> s_cappings{"None", "First", "Second", "Both"};
constexpr std::array<const char*, 4> s_interpolations{"None", "Gouraud", "Phong", "Gooch"};
constexpr std::array<const char*, 6> s_sizeReferences{
    "World", "Object", "WindowFraction", "OuterWindowFraction", "Pixel", "Point"};
constexpr std::array<const char*, 9> s_alignmentPoints{"LeftMiddle",   "LeftTop",   "LeftBottom",
                                                       "RightMiddle",  "RightTop",  "RightBottom",
                                                       "CenterMiddle", "CenterTop", "CenterBottom"};
constexpr std::array<const char*, 6> s_meshStyles{"None", "Filled",   "FilledWire",
                                                  "Wire", "Boundary", "FilledBoundary"};
constexpr std::array<const char*, 5> s_zLayers{"Background", "Model", "Annotation", "Label",
                                               "Overlay"};
constexpr std::array<const char*, 5> s_displacements{"None", "Low", "Medium", "High", "Highest"};
constexpr std::array<const char*, 8> s_visibleTypes{"Images", "Text",       "Markers", "Vertices",
                                                    "Edges",  "Perimeters", "Lines",   "Faces"};
constexpr std::array<const char*, 7> s_selectableTypes{"Images", "Text",  "Markers", "Vertices",
                                                       "Edges",  "Lines", "Faces"};
constexpr std::array<const char*, 3> s_shaderAffectedTypes{"Points", "Lines", "Triangles"};
constexpr std::array<const char*, 4> s_skinAffectedTypes{"Markers", "Vertices", "Edges", "Faces"};
constexpr std::array<const char*, 43> s_symbols{
    "Dot",
    "Star",
    "Plus",
    "BoldPlus",
    "X",
    "BoldX",
    "FilledCircle",
    "OpenCircle",
    "OpenCircleWithDot",
    "OpenCircleWithPlus",
    "OpenCircleWithX",
    "OpenCircleWithCircle",
    "FilledDiamond",
    "OpenDiamond",
    "OpenDiamondWithDot",
    "FilledBox",
    "OpenBox",
    "OpenBoxWithDot",
    "FilledTriangleUp",
    "FilledTriangleDown",
    "FilledTriangleLeft",
    "FilledTriangleRight",
    "OpenTriangleUp",
    "OpenTriangleDown",
    "OpenTriangleLeft",
    "OpenTriangleRight",
    "Tryout",
    "OpenEndMarker",
    "ClosedEndMarker",
    "FldMarker",
    "SigmaFldNominalMarker",
    "SigmaFldCurrentMarker",
    "SigmaFldMedianMarker",
    "NanMarker",
    "CustomFilledCircle",
    "CustomEmptyCircle",
    "CustomEmptyBoldCircle",
    "MeasuringArrow",
    "MeasuringBar",
    "MeasuringPoint",
    "SimpleArrowLineEnd",
    "SimpleBarLineEnd",
    "EmptyGlyph",
};

struct SampleColor {
    const char* name;
    ColorRGB color;
};

std::string glyphBytes(const ColorRGB& color) {
    const auto bytes = DrawSymbolPoint::getGlyphColorAsChars(color);
    std::string text;
    for (const char byte : bytes) {
        text += text.empty() ? "" : " ";
        text += std::to_string(static_cast<unsigned char>(byte));
    }
    return text;
}

StyleSection colorSection() {
    const std::array<SampleColor, 7> samples{{
        {"black", ColorRGB(0.0f, 0.0f, 0.0f)},
        {"white", ColorRGB(1.0f, 1.0f, 1.0f)},
        {"red", ColorRGB(1.0f, 0.0f, 0.0f)},
        {"green", ColorRGB(0.0f, 1.0f, 0.0f)},
        {"blue", ColorRGB(0.0f, 0.0f, 1.0f)},
        {"orange", ColorRGB(1.0f, 0.5f, 0.0f)},
        {"grey", ColorRGB(0.5f, 0.5f, 0.5f)},
    }};
    StyleSection section{"ColorRGB",
                         "colour text (samples; digits truncated, not rounded)",
                         {{"colorText", "colour text"}, {"glyphBytes", "glyph colour bytes"}},
                         {}};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        section.entries.push_back(
            {static_cast<int>(i),
             samples[i].name,
             {ColorRGB::toString(samples[i].color), glyphBytes(samples[i].color)}});
    }
    return section;
}

StyleSection customLinePatternSection() {
    const auto pattern = DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
        1.0f, 2.0f, 1.5f, 6, 4, DrawSymbolPoint::MeasuringArrow, DrawSymbolPoint::MeasuringBar,
        ColorRGB(1.0f, 1.0f, 1.0f));
    return {"DrawCustomPatternDefinitionLine",
            "measurement line (sample: arrow weights 2 and 1.5, dash 6, blank 4, "
            "MeasuringArrow to MeasuringBar, white contrast)",
            {{"definition", "line-style definition"}, {"contrastColor", "contrast colour"}},
            {{0,
              "measurement line",
              {pattern.getDefinition(), ColorRGB::toString(pattern.getContrastColor())}}}};
}

}  // namespace

std::vector<StyleSection> buildStylesTable() {
    std::vector<StyleSection> sections;
    sections.push_back(
        enumeratedSection("DrawColorMode", "colour mode (translated display name)", {s_display},
                          s_colorModes, [](int v) -> std::vector<std::optional<std::string>> {
                              return {DrawColorMode::toString(static_cast<DrawColorMode::Enum>(v))};
                          }));
    sections.push_back(
        enumeratedSection("DrawPatternFace", "face fill pattern (translated display name)",
                          {s_display, {"hoopsNotation", "HOOPS fill pattern"}}, s_facePatterns,
                          [](int v) -> std::vector<std::optional<std::string>> {
                              const auto pattern = static_cast<DrawPatternFace::Pattern>(v);
                              return {DrawPatternFace::toString(pattern),
                                      optionalText(DrawPatternFace::getHoopsNotation(pattern))};
                          }));
    sections.push_back(
        enumeratedSection("DrawPatternLine", "line pattern (translated display name)",
                          {s_display, {"hoopsNotation", "HOOPS line pattern"}}, s_linePatterns,
                          [](int v) -> std::vector<std::optional<std::string>> {
                              const auto pattern = static_cast<DrawPatternLine::Enum>(v);
                              return {DrawPatternLine::toString(pattern),
                                      optionalText(DrawPatternLine::getHoopsNotation(pattern))};
                          }));
    sections.push_back(enumeratedSection(
        "DrawCoordinates", "coordinate space", {{"hoopsNotation", "HOOPS coordinate space"}},
        s_coordinates, [](int v) -> std::vector<std::optional<std::string>> {
            return {optionalText(
                DrawCoordinates::getHoopsNotation(static_cast<DrawCoordinates::Enum>(v)))};
        }));
    sections.push_back(
        enumeratedSection("DrawCylinderCapping", "cylinder capping", {s_display, s_hoops},
                          s_cappings, [](int v) -> std::vector<std::optional<std::string>> {
                              const auto capping = static_cast<DrawCylinderCapping::Enum>(v);
                              return {DrawCylinderCapping::toString(capping),
                                      optionalText(DrawCylinderCapping::getHoopsNotation(capping))};
                          }));
    sections.push_back(
        enumeratedSection("DrawLightingInterpolation", "lighting interpolation",
                          {{"hoopsNotation", "HOOPS option setting"}}, s_interpolations,
                          [](int v) -> std::vector<std::optional<std::string>> {
                              return {optionalText(DrawLightingInterpolation::getHoopsNotation(
                                  static_cast<DrawLightingInterpolation::Enum>(v)))};
                          }));
    sections.push_back(enumeratedSection(
        "DrawSizeReference", "size reference", {s_display, {"hoopsNotation", "HOOPS size unit"}},
        s_sizeReferences, [](int v) -> std::vector<std::optional<std::string>> {
            const auto reference = static_cast<DrawSizeReference::Enum>(v);
            return {DrawSizeReference::toString(reference),
                    optionalText(DrawSizeReference::getHoopsNotation(reference))};
        }));
    sections.push_back(enumeratedSection(
        "DrawTextAlignmentPoint", "text alignment point", {{"hoopsNotation", "HOOPS alignment"}},
        s_alignmentPoints, [](int v) -> std::vector<std::optional<std::string>> {
            return {optionalText(DrawTextAlignmentPoint::getHoopsNotation(
                static_cast<DrawTextAlignmentPoint::Enum>(v)))};
        }));
    sections.push_back(enumeratedSection(
        "DrawStyleMesh", "mesh draw style",
        {s_display, {"drawKey", "draw key"}, {"visibility", "visibility of its visible types"}},
        s_meshStyles, [](int v) -> std::vector<std::optional<std::string>> {
            const DrawStyleMesh mesh(static_cast<DrawStyleMesh::Enum>(v));
            return {DrawStyleMesh::toString(mesh), optionalText(DrawStyleMesh::getDrawKey(mesh)),
                    DrawStyleMesh::getVisibleTypes(mesh).getHoopsNotation()};
        }));
    sections.push_back(enumeratedSection(
        "DrawZLayer", "z-layer (kept with a random label offset; no display name or option text)",
        {}, s_zLayers, [](int) { return std::vector<std::optional<std::string>>{}; }));
    sections.push_back(enumeratedSection(
        "DrawDisplacement", "displacement level", {s_display, {"displacement", "displacement"}},
        s_displacements, [](int v) -> std::vector<std::optional<std::string>> {
            const auto level = static_cast<DrawDisplacement::Enum>(v);
            return {DrawDisplacement::toString(level),
                    formatFloat(DrawDisplacement::getValue(level))};
        }));
    sections.push_back(enumeratedSection(
        "DrawVisibleType", "visible draw type (a visible set holding this type alone)",
        {{"visibility", "visibility option text"}}, s_visibleTypes,
        [](int v) -> std::vector<std::optional<std::string>> {
            const std::vector<DrawVisibleType> types{static_cast<DrawVisibleType>(v)};
            return {DrawVisibleTypesCollection(types).getHoopsNotation()};
        }));
    sections.push_back(enumeratedSection(
        "DrawSelectableType", "selectable draw type (a selectable set holding this type alone)",
        {{"selectability", "selectability option text"}}, s_selectableTypes,
        [](int v) -> std::vector<std::optional<std::string>> {
            const std::vector<DrawSelectableType> types{static_cast<DrawSelectableType>(v)};
            return {DrawSelectableTypesCollection(types).getHoopsNotation()};
        }));
    sections.push_back(enumeratedSection(
        "DrawShaderAffectedType", "shader-affected draw type (a set holding this type alone)",
        {{"hoopsNotation", "option text"}}, s_shaderAffectedTypes,
        [](int v) -> std::vector<std::optional<std::string>> {
            const std::vector<DrawShaderAffectedType> types{static_cast<DrawShaderAffectedType>(v)};
            return {DrawShaderAffectedTypesCollection(types).getHoopsNotation()};
        }));
    sections.push_back(enumeratedSection(
        "DrawSkinAffectedType", "skin-affected draw type (a set holding this type alone)",
        {{"hoopsNotation", "option text"}}, s_skinAffectedTypes,
        [](int v) -> std::vector<std::optional<std::string>> {
            const std::vector<DrawSkinAffectedType> types{static_cast<DrawSkinAffectedType>(v)};
            return {DrawSkinAffectedTypesCollection(types).getHoopsNotation()};
        }));
    sections.push_back(enumeratedSection(
        "DrawSymbolPoint", "point symbol (marker notation or glyph name)", {s_display, s_hoops},
        s_symbols, [](int v) -> std::vector<std::optional<std::string>> {
            const auto symbol = static_cast<DrawSymbolPoint::Enum>(v);
            return {DrawSymbolPoint::toString(symbol),
                    optionalText(DrawSymbolPoint::getHoopsNotation(symbol))};
        }));
    sections.push_back(colorSection());
    sections.push_back(customLinePatternSection());
    return sections;
}

std::string stylesAsText(const std::vector<StyleSection>& sections) {
    std::string text;
    for (const auto& section : sections) {
        // Column widths: value, name, then one per cell.
        std::vector<std::size_t> widths{5, 4};
        for (const auto& column : section.columns) {
            widths.push_back(std::string_view(column.heading).size());
        }
        for (const auto& entry : section.entries) {
            widths[0] = std::max(widths[0], std::to_string(entry.value).size());
            widths[1] = std::max(widths[1], entry.name.size());
            for (std::size_t i = 0; i < entry.cells.size(); ++i) {
                widths[i + 2] = std::max(widths[i + 2], entry.cells[i].value_or("(null)").size());
            }
        }
        const auto row = [&text, &widths](const std::vector<std::string>& cells) {
            std::string line = " ";
            for (std::size_t i = 0; i < cells.size(); ++i) {
                line += " " + cells[i];
                if (i + 1 < cells.size()) {
                    line.append(widths[i] - cells[i].size() + 1, ' ');
                }
            }
            text += line + "\n";
        };
        text += section.type + ": " + section.about + "\n";
        std::vector<std::string> headings{"value", "name"};
        for (const auto& column : section.columns) {
            headings.emplace_back(column.heading);
        }
        row(headings);
        for (const auto& entry : section.entries) {
            std::vector<std::string> cells{std::to_string(entry.value), entry.name};
            for (const auto& cell : entry.cells) {
                cells.push_back(cell.value_or("(null)"));
            }
            row(cells);
        }
        text += "\n";
    }
    return text;
}

std::string stylesAsJson(const std::vector<StyleSection>& sections) {
    auto json = nlohmann::ordered_json::array();
    for (const auto& section : sections) {
        auto values = nlohmann::ordered_json::array();
        for (const auto& entry : section.entries) {
            nlohmann::ordered_json value;
            value["value"] = entry.value;
            value["name"] = entry.name;
            for (std::size_t i = 0; i < entry.cells.size(); ++i) {
                value[section.columns[i].key] =
                    entry.cells[i] ? nlohmann::ordered_json(*entry.cells[i]) : nullptr;
            }
            values.push_back(std::move(value));
        }
        json.push_back({{"type", section.type}, {"about", section.about}, {"values", values}});
    }
    return json.dump(2) + "\n";
}

}  // namespace VarnekLabels
