#include "SvgGallery.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

#include "LabelText.h"
#include "SvgDocument.h"

namespace VarnekLabels {
namespace {

// The gallery draws in masked coordinates with one unit per SVG pixel: a
// view 1000 pixels high, and labels the size of a short name.
constexpr float s_galleryScale = 1000.0f;
const Vec3 s_galleryLabelSize(100.0f, 34.0f, 0.0f);

// The sheet's layout, in SVG pixels: a margin all round, the title block,
// then the table: a header row of reference point names over one row per
// label kind, each with its caption in a column of its own.
constexpr float s_margin = 16.0f;
constexpr float s_titleHeight = 64.0f;
constexpr float s_headerHeight = 34.0f;
constexpr float s_captionWidth = 200.0f;
// Room round each label's box inside its cell.
constexpr float s_cellPadding = 14.0f;

// The title block: the baselines of its three lines below the top margin.
constexpr float s_titleBaseline = 16.0f;
constexpr float s_subtitleBaseline = 36.0f;
constexpr float s_legendBaseline = 54.0f;
constexpr float s_titleFontSize = 18.0f;
// The subtitle, the legend and the column headers.
constexpr float s_textFontSize = 12.0f;

// A column header's baseline, above the bottom of the header row.
constexpr float s_headerBaselineRise = 12.0f;

// A row's caption: the shape's name just above the row's middle, the
// indicator's details below it, both indented from the row's left end.
constexpr float s_captionIndent = 8.0f;
constexpr float s_shapeNameBaselineAboveMiddle = 3.0f;
constexpr float s_detailBaselineBelowMiddle = 12.0f;
constexpr float s_shapeNameFontSize = 13.0f;
constexpr float s_detailFontSize = 11.0f;

// A label's name in its body, its baseline below the body centre.
constexpr float s_nameFontSize = 11.0f;
constexpr float s_nameBaselineBelowFont = 2.0f;

// The marks on each label: the anchor and the body centre.
constexpr float s_anchorRadius = 3.0f;
constexpr float s_centerRadius = 1.8f;

// The legend: the anchor's mark and text, then the body centre's.
constexpr float s_legendMarkRise = 4.0f;
constexpr float s_legendAnchorMarkX = 4.0f;
constexpr float s_legendAnchorTextX = 12.0f;
constexpr float s_legendCenterMarkX = 262.0f;
constexpr float s_legendCenterTextX = 270.0f;

// The single-label picture: its caption's line above the label.
constexpr float s_pictureCaptionHeight = 24.0f;
constexpr float s_pictureCaptionBaseline = 16.0f;
constexpr float s_pictureCaptionFontSize = 11.0f;
// About 0.6 em per character is enough room for the caption's font.
constexpr float s_emPerCharacter = 0.6f;

// One fill per background shape, in the catalogue's order; a shape past the
// end takes the colours again from the start.
constexpr std::array<const char*, 4> s_shapeFills{"#d6e6fb", "#d5f2dc", "#fbecc4", "#f8d9ea"};

// The gallery's columns, in the catalogue's order.
using ReferencePoints = std::array<ReferencePoint, VarnekCatalogue::s_referencePointCount>;

const char* fillOf(BackgroundShape shape) {
    return s_shapeFills[static_cast<std::size_t>(shape) % s_shapeFills.size()];
}

// The smallest axis-parallel box round the polygon, the anchor and the body
// centre.
struct Box {
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;

    void include(const Vec3& p) {
        minX = std::min(minX, p[0]);
        minY = std::min(minY, p[1]);
        maxX = std::max(maxX, p[0]);
        maxY = std::max(maxY, p[1]);
    }
    float width() const { return maxX - minX; }
    float height() const { return maxY - minY; }
};

Box boxOf(const LabelOutline& outline) {
    Box box;  // starts at the anchor, the origin
    box.include(outline.offset);
    for (const auto& p : outline.polygon) {
        box.include(p);
    }
    return box;
}

// The size of the label named name: measured in font, or the gallery's own.
Vec3 labelSize(const TextMeasure* font, const char* name) {
    return font != nullptr ? measuredSize(*font, name) : s_galleryLabelSize;
}

// Draws one label with its anchor at (x, y): its name below the body
// centre, or in a font, centred in the body.
void drawLabel(SvgDocument& svg, float x, float y, const LabelOutline& outline,
               BackgroundShape shape, const char* name, const TextMeasure* font = nullptr) {
    svg.beginGroup(x, y, "label");
    svg.polygon(outline.polygon, std::string("fill:") + fillOf(shape) +
                                     ";stroke:#303846;stroke-width:1;stroke-linejoin:round");
    const float cx = outline.offset[0];
    const float cy = outline.offset[1];
    if (font != nullptr) {
        svg.text(cx, cy + baselineBelowCentre(s_measuredFontSize, font), name, s_measuredFontSize,
                 "middle", "fill:#1b1f27" + fontFamilyStyle(font));
    } else {
        svg.text(cx, cy + s_nameFontSize + s_nameBaselineBelowFont, name, s_nameFontSize, "middle",
                 "fill:#1b1f27");
    }
    // The centre mark goes on top: at Center it lies on the anchor.
    svg.circle(0.0f, 0.0f, s_anchorRadius, "fill:#e0262b;stroke:#ffffff;stroke-width:0.8");
    svg.circle(cx, cy, s_centerRadius, "fill:#1d5fd1");
    svg.endGroup();
}

// Draws the label with its box centred in the cell at (x, y).
void drawLabelInCell(SvgDocument& svg, float x, float y, float cellWidth, float cellHeight,
                     const LabelOutline& outline, BackgroundShape shape, const char* name,
                     const TextMeasure* font) {
    const Box box = boxOf(outline);
    drawLabel(svg, x + (cellWidth - box.width()) * 0.5f - box.minX,
              y + (cellHeight - box.height()) * 0.5f - box.minY, outline, shape, name, font);
}

// Every label of the gallery, computed first so that every column is as
// wide and every row as high as its largest label.
struct GalleryTable {
    std::vector<std::vector<LabelOutline>> outlines;  // [row][column]
    std::vector<float> columnWidths;
    std::vector<float> rowHeights;

    // With the caption column and the header row.
    float width() const {
        float width = s_captionWidth;
        for (const float w : columnWidths) {
            width += w;
        }
        return width;
    }
    float height() const {
        float height = s_headerHeight;
        for (const float h : rowHeights) {
            height += h;
        }
        return height;
    }
};

GalleryTable layOutTable(const std::vector<LabelRecipe>& recipes,
                         const ReferencePoints& referencePoints, const TextMeasure* font) {
    GalleryTable table;
    table.columnWidths.assign(referencePoints.size(), 0.0f);
    for (const auto& recipe : recipes) {
        const auto background = makeBackground(recipe, s_galleryScale);
        auto& row = table.outlines.emplace_back();
        float rowHeight = 0.0f;
        for (std::size_t c = 0; c < referencePoints.size(); ++c) {
            row.push_back(computeOutline(*background, referencePoints[c],
                                         labelSize(font, toName(referencePoints[c]))));
            const Box box = boxOf(row.back());
            table.columnWidths[c] =
                std::max(table.columnWidths[c], box.width() + 2.0f * s_cellPadding);
            rowHeight = std::max(rowHeight, box.height() + 2.0f * s_cellPadding);
        }
        table.rowHeights.push_back(rowHeight);
    }
    return table;
}

void drawLegend(SvgDocument& svg, float x, float y, const TextMeasure* font) {
    svg.circle(x + s_legendAnchorMarkX, y - s_legendMarkRise, s_anchorRadius, "fill:#e0262b");
    svg.text(x + s_legendAnchorTextX, y, "anchor (where the indicator points)", s_textFontSize,
             "start");
    svg.circle(x + s_legendCenterMarkX, y - s_legendMarkRise, s_centerRadius, "fill:#1d5fd1");
    svg.text(x + s_legendCenterTextX, y,
             font != nullptr
                 ? "body centre (anchor + getOffset), with the reference point on it"
                 : "body centre (anchor + getOffset), with the reference point below it",
             s_textFontSize, "start");
}

// The label sizes, as the subtitle states them.
std::string sizesText(const TextMeasure* font) {
    if (font != nullptr) {
        return "label sizes measured from each name in " + font->family() + " at font size " +
               formatFloat(s_measuredFontSize);
    }
    return "label size " + formatFloat(s_galleryLabelSize[0]) + " x " +
           formatFloat(s_galleryLabelSize[1]);
}

void drawTitle(SvgDocument& svg, const GallerySheet& sheet, std::size_t referencePointCount,
               const TextMeasure* font) {
    svg.text(s_margin, s_margin + s_titleBaseline,
             "Label outlines: " + std::to_string(sheet.labelCount) +
                 " labels = " + std::to_string(sheet.kindCount) + " label kinds x " +
                 std::to_string(referencePointCount) + " reference points",
             s_titleFontSize, "start", "font-weight:bold");
    svg.text(s_margin, s_margin + s_subtitleBaseline,
             sizesText(font) + ", scale " + formatFloat(s_galleryScale) +
                 " (units per screen height); indicator widths fixed, in screen heights; "
                 "the balloon has no indicator: its tip points to the anchor",
             s_textFontSize, "start");
    drawLegend(svg, s_margin, s_margin + s_legendBaseline, font);
}

void drawColumnHeaders(SvgDocument& svg, const GalleryTable& table, float top,
                       const ReferencePoints& referencePoints) {
    float x = s_margin + s_captionWidth;
    for (std::size_t c = 0; c < referencePoints.size(); ++c) {
        svg.text(x + table.columnWidths[c] * 0.5f, top + s_headerHeight - s_headerBaselineRise,
                 toName(referencePoints[c]), s_textFontSize, "middle", "font-weight:bold");
        x += table.columnWidths[c];
    }
}

// The row's stripe, the line above it (bold where a new shape starts) and
// its caption.
void drawRowFrame(SvgDocument& svg, const LabelRecipe& recipe, std::size_t r, bool newShape,
                  float y, float width, float height) {
    svg.rect(s_margin, y, width, height, r % 2 == 0 ? "fill:#f6f7f9" : "fill:#ffffff");
    svg.line(s_margin, y, s_margin + width, y,
             newShape ? "stroke:#303846;stroke-width:1.5" : "stroke:#d5d9e0;stroke-width:0.7");
    const float middle = y + height * 0.5f;
    svg.text(s_margin + s_captionIndent, middle - s_shapeNameBaselineAboveMiddle,
             toName(recipe.background), s_shapeNameFontSize, "start", "font-weight:bold");
    svg.text(s_margin + s_captionIndent, middle + s_detailBaselineBelowMiddle,
             describeIndicatorBriefly(recipe), s_detailFontSize, "start");
}

}  // namespace

GallerySheet buildGallery(const TextMeasure* font) {
    const auto recipes = galleryRecipes();
    const auto& referencePoints = VarnekCatalogue::referencePoints();
    const GalleryTable table = layOutTable(recipes, referencePoints, font);
    const float tableWidth = table.width();
    const float tableHeight = table.height();

    GallerySheet sheet;
    sheet.kindCount = recipes.size();
    sheet.labelCount = recipes.size() * referencePoints.size();

    const float sheetWidth = tableWidth + 2.0f * s_margin;
    const float sheetHeight = s_titleHeight + tableHeight + 2.0f * s_margin;
    SvgDocument svg(sheetWidth, sheetHeight);
    svg.rect(0.0f, 0.0f, sheetWidth, sheetHeight, "fill:#ffffff");
    drawTitle(svg, sheet, referencePoints.size(), font);

    const float top = s_margin + s_titleHeight;
    drawColumnHeaders(svg, table, top, referencePoints);
    float y = top + s_headerHeight;
    for (std::size_t r = 0; r < recipes.size(); ++r) {
        const LabelRecipe& recipe = recipes[r];
        const float rowHeight = table.rowHeights[r];
        const bool newShape = r == 0 || recipes[r - 1].background != recipe.background;
        drawRowFrame(svg, recipe, r, newShape, y, tableWidth, rowHeight);
        float x = s_margin + s_captionWidth;
        for (std::size_t c = 0; c < referencePoints.size(); ++c) {
            drawLabelInCell(svg, x, y, table.columnWidths[c], rowHeight, table.outlines[r][c],
                            recipe.background, toName(referencePoints[c]), font);
            x += table.columnWidths[c];
        }
        y += rowHeight;
    }
    sheet.svg = svg.finish();
    return sheet;
}

std::string outlineAsSvg(const OutlineRequest& request, const LabelOutline& outline) {
    const Box box = boxOf(outline);
    const std::string caption = describe(request.recipe);
    const float captionWidth =
        static_cast<float>(caption.size()) * s_pictureCaptionFontSize * s_emPerCharacter;
    const float width = std::max(box.width(), captionWidth) + 2.0f * s_cellPadding;
    const float height = box.height() + 2.0f * s_cellPadding + s_pictureCaptionHeight;
    SvgDocument svg(width, height);
    svg.rect(0.0f, 0.0f, width, height, "fill:#ffffff");
    svg.text(s_cellPadding, s_pictureCaptionBaseline, caption, s_pictureCaptionFontSize, "start");
    drawLabel(svg, (width - box.width()) * 0.5f - box.minX,
              s_pictureCaptionHeight + s_cellPadding - box.minY, outline, request.recipe.background,
              toName(request.referencePoint));
    return svg.finish();
}

}  // namespace VarnekLabels
