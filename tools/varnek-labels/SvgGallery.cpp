#include "SvgGallery.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

#include "SvgDocument.h"

namespace VarnekLabels {
namespace {

// The gallery draws in masked coordinates with one unit per SVG pixel: a
// view 1000 pixels high, and labels the size of a short name.
constexpr float s_galleryScale = 1000.0f;
const Vec3 s_galleryLabelSize(100.0f, 34.0f, 0.0f);

constexpr float s_nameFontSize = 11.0f;
constexpr float s_cellPadding = 14.0f;
constexpr float s_captionWidth = 200.0f;
constexpr float s_headerHeight = 34.0f;
constexpr float s_titleHeight = 64.0f;
constexpr float s_margin = 16.0f;

// One fill per background shape, in the catalogue's order; a shape past the
// end takes the colours again from the start.
constexpr std::array<const char*, 4> s_shapeFills{"#d6e6fb", "#d5f2dc", "#fbecc4", "#f8d9ea"};

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

// Draws one label with its anchor at (x, y).
void drawLabel(SvgDocument& svg, float x, float y, const LabelOutline& outline,
               BackgroundShape shape, const char* name) {
    svg.beginGroup(x, y, "label");
    svg.polygon(outline.polygon, std::string("fill:") + fillOf(shape) +
                                     ";stroke:#303846;stroke-width:1;stroke-linejoin:round");
    const float cx = outline.offset[0];
    const float cy = outline.offset[1];
    svg.text(cx, cy + s_nameFontSize + 2.0f, name, s_nameFontSize, "middle", "fill:#1b1f27");
    // The centre mark goes on top: at Center it lies on the anchor.
    svg.circle(0.0f, 0.0f, 3.0f, "fill:#e0262b;stroke:#ffffff;stroke-width:0.8");
    svg.circle(cx, cy, 1.8f, "fill:#1d5fd1");
    svg.endGroup();
}

void drawLegend(SvgDocument& svg, float x, float y) {
    svg.circle(x + 4.0f, y - 4.0f, 3.0f, "fill:#e0262b");
    svg.text(x + 12.0f, y, "anchor (where the indicator points)", 12.0f, "start");
    svg.circle(x + 262.0f, y - 4.0f, 1.8f, "fill:#1d5fd1");
    svg.text(x + 270.0f, y, "body centre (anchor + getOffset), with the reference point below it",
             12.0f, "start");
}

}  // namespace

GallerySheet buildGallery() {
    const auto recipes = galleryRecipes();
    const auto& referencePoints = VarnekCatalogue::referencePoints();

    // outlines[row][column], computed first so that every column is as wide
    // and every row as high as its largest label.
    std::vector<std::vector<LabelOutline>> outlines;
    std::vector<float> columnWidths(referencePoints.size(), 0.0f);
    std::vector<float> rowHeights;
    for (const auto& recipe : recipes) {
        const auto background = makeBackground(recipe, s_galleryScale);
        auto& row = outlines.emplace_back();
        float rowHeight = 0.0f;
        for (std::size_t c = 0; c < referencePoints.size(); ++c) {
            row.push_back(computeOutline(*background, referencePoints[c], s_galleryLabelSize));
            const Box box = boxOf(row.back());
            columnWidths[c] = std::max(columnWidths[c], box.width() + 2.0f * s_cellPadding);
            rowHeight = std::max(rowHeight, box.height() + 2.0f * s_cellPadding);
        }
        rowHeights.push_back(rowHeight);
    }

    float tableWidth = s_captionWidth;
    for (const float w : columnWidths) {
        tableWidth += w;
    }
    float tableHeight = s_headerHeight;
    for (const float h : rowHeights) {
        tableHeight += h;
    }

    GallerySheet sheet;
    sheet.kindCount = recipes.size();
    sheet.labelCount = recipes.size() * referencePoints.size();

    SvgDocument svg(tableWidth + 2.0f * s_margin, s_titleHeight + tableHeight + 2.0f * s_margin);
    svg.rect(0.0f, 0.0f, tableWidth + 2.0f * s_margin,
             s_titleHeight + tableHeight + 2.0f * s_margin, "fill:#ffffff");
    svg.text(s_margin, s_margin + 16.0f,
             "Label outlines: " + std::to_string(sheet.labelCount) +
                 " labels = " + std::to_string(sheet.kindCount) + " label kinds x " +
                 std::to_string(referencePoints.size()) + " reference points",
             18.0f, "start", "font-weight:bold");
    svg.text(s_margin, s_margin + 36.0f,
             "label size " + formatFloat(s_galleryLabelSize[0]) + " x " +
                 formatFloat(s_galleryLabelSize[1]) + ", scale " + formatFloat(s_galleryScale) +
                 " (units per screen height); indicator widths fixed, in screen heights; "
                 "the balloon has no indicator: its tip points to the anchor",
             12.0f, "start");
    drawLegend(svg, s_margin, s_margin + 54.0f);

    const float top = s_margin + s_titleHeight;
    float x = s_margin + s_captionWidth;
    for (std::size_t c = 0; c < referencePoints.size(); ++c) {
        svg.text(x + columnWidths[c] * 0.5f, top + s_headerHeight - 12.0f,
                 toName(referencePoints[c]), 12.0f, "middle", "font-weight:bold");
        x += columnWidths[c];
    }

    float y = top + s_headerHeight;
    for (std::size_t r = 0; r < recipes.size(); ++r) {
        const LabelRecipe& recipe = recipes[r];
        const bool newShape = r == 0 || recipes[r - 1].background != recipe.background;
        svg.rect(s_margin, y, tableWidth, rowHeights[r],
                 r % 2 == 0 ? "fill:#f6f7f9" : "fill:#ffffff");
        svg.line(s_margin, y, s_margin + tableWidth, y,
                 newShape ? "stroke:#303846;stroke-width:1.5" : "stroke:#d5d9e0;stroke-width:0.7");

        const float middle = y + rowHeights[r] * 0.5f;
        svg.text(s_margin + 8.0f, middle - 3.0f, toName(recipe.background), 13.0f, "start",
                 "font-weight:bold");
        std::string detail = !VarnekCatalogue::rowOf(recipe.background).carriesIndicator
                                 ? "no indicator (tip)"
                                 : toName(recipe.indicator);
        if (isLayered(recipe.indicator)) {
            detail += recipe.withBar ? ", with bar" : ", no bar";
        }
        if (recipe.fixedWidthInScreenHeightFraction > 0.0f) {
            detail += ", " + formatFloat(recipe.fixedWidthInScreenHeightFraction);
        }
        svg.text(s_margin + 8.0f, middle + 12.0f, detail, 11.0f, "start");

        x = s_margin + s_captionWidth;
        for (std::size_t c = 0; c < referencePoints.size(); ++c) {
            const LabelOutline& outline = outlines[r][c];
            const Box box = boxOf(outline);
            const float anchorX = x + (columnWidths[c] - box.width()) * 0.5f - box.minX;
            const float anchorY = y + (rowHeights[r] - box.height()) * 0.5f - box.minY;
            drawLabel(svg, anchorX, anchorY, outline, recipe.background,
                      toName(referencePoints[c]));
            x += columnWidths[c];
        }
        y += rowHeights[r];
    }
    sheet.svg = svg.finish();
    return sheet;
}

std::string outlineAsSvg(const OutlineRequest& request, const LabelOutline& outline) {
    const Box box = boxOf(outline);
    const std::string caption = describe(request.recipe);
    const float textHeight = 24.0f;
    // About 0.6 em per character is enough room for the caption's font.
    const float captionWidth = static_cast<float>(caption.size()) * 11.0f * 0.6f;
    const float width = std::max(box.width(), captionWidth) + 2.0f * s_cellPadding;
    const float height = box.height() + 2.0f * s_cellPadding + textHeight;
    SvgDocument svg(width, height);
    svg.rect(0.0f, 0.0f, width, height, "fill:#ffffff");
    svg.text(s_cellPadding, 16.0f, caption, 11.0f, "start");
    drawLabel(svg, (width - box.width()) * 0.5f - box.minX, textHeight + s_cellPadding - box.minY,
              outline, request.recipe.background, toName(request.referencePoint));
    return svg.finish();
}

}  // namespace VarnekLabels
