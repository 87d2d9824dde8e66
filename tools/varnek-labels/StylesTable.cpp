#include "StylesTable.h"

#include <algorithm>
#include <array>

#include <catalogue/DrawStyleTypes.h>
#include <varnek/varnek.h>
#include <nlohmann/json.hpp>

namespace VarnekLabels {
namespace {

using namespace Varnek;

// A type of the catalogue with every one of its values.
StyleSection enumeratedSection(const VarnekCatalogue::DrawStyleType& type) {
    StyleSection section{type.name, type.about, {}, {}};
    for (const auto& column : type.columns) {
        section.columns.push_back({column.key, column.heading});
    }
    for (int value = 0; value < type.valueCount(); ++value) {
        std::vector<std::optional<std::string>> cells;
        for (const auto& column : type.columns) {
            cells.push_back(column.text(value));
        }
        section.entries.push_back(
            {value, type.valueNames[static_cast<std::size_t>(value)], std::move(cells)});
    }
    return section;
}

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
    for (const auto& type : VarnekCatalogue::drawStyleTypes()) {
        sections.push_back(enumeratedSection(type));
    }
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
