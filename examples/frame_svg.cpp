// Draws one frame's labels into an SVG file: seven anchors in an 800 x 600
// view, some close together. The placer chooses each label's reference point
// so that no two labels overlap, none leaves the view and none covers another
// anchor; a label with no room is hidden and reported. Usage:
// frame_svg [FILE.svg], default frame.svg.
#include <varnek/varnek.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Varnek::Vector;

// A rough text extent for a 14-pixel sans-serif font plus a margin.
Vector<float, 3> textSize(const char* text) {
    std::size_t characters = 0;
    while (text[characters] != '\0') {
        ++characters;
    }
    return {8.0f * static_cast<float>(characters) + 12.0f, 24.0f, 0.0f};
}

const char* describe(Varnek::LabelHiddenReason reason) {
    switch (reason) {
        case Varnek::LabelHiddenReason::None:
            return "visible";
        case Varnek::LabelHiddenReason::NoRoom:
            return "no room";
        case Varnek::LabelHiddenReason::OutOfContract:
            return "out of contract";
        case Varnek::LabelHiddenReason::BackgroundNotInitialized:
            return "background not initialized";
        case Varnek::LabelHiddenReason::PlaceTaken:
            return "place taken, back next frame";
        case Varnek::LabelHiddenReason::BehindCamera:
            return "behind the camera";
        case Varnek::LabelHiddenReason::OutsideView:
            return "outside the view";
        case Varnek::LabelHiddenReason::Occluded:
            return "occluded";
    }
    return "unknown";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Varnek;
    const char* path = argc > 1 ? argv[1] : "frame.svg";
    const float width = 800.0f;
    const float height = 600.0f;

    // Label sizes are in pixels, so the scale is the view's height in pixels.
    // Labels that name no background get the placer's default one; a label
    // with a background of its own gets its own indicator too.
    const auto roundWithPointer = SymmetricCornerLabelBackground::createRoundCornered(
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f), height);
    const auto flatWithBar = SymmetricCornerLabelBackground::createFlatCornered(
        LayeredLabelIndicator::createLayeredLabelIndicator(true, LayeredLabelIndicator::Middle,
                                                           true, 0.03f),
        height);

    const char* texts[] = {"Flange", "Bolt M8", "Bolt M8", "Weld seam",
                           "Gasket", "Datum A", "Note"};
    const float anchors[][2] = {{200, 150}, {520, 200}, {560, 220}, {400, 320},
                                {150, 560}, {780, 300}, {420, 340}};
    std::vector<LabelRequest> requests;
    for (std::size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) {
        LabelRequest request;
        request.key = i;  // the same key every frame keeps a label where it was
        request.anchor = Vector<float, 3>(anchors[i][0], anchors[i][1], 0.0f);
        request.size = textSize(texts[i]);
        request.priority = i == 3 ? 1.0f : 0.0f;  // the weld seam wins conflicts
        request.background = i == 3 ? flatWithBar.get() : nullptr;
        requests.push_back(request);
    }

    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, width, height};
    options.gap = 4.0f;
    LabelPlacer placer(roundWithPointer, options);
    const std::vector<PlacedLabel>& placed = placer.place(requests);
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    placer.appendOutlines(points, starts);  // visible labels only, in request order

    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    std::fprintf(out,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\">\n"
                 "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                 width, height);
    std::size_t outline = 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const float x = requests[i].anchor[0];
        const float y = requests[i].anchor[1];
        std::fprintf(out, "<circle cx=\"%g\" cy=\"%g\" r=\"3\" fill=\"#c00\"/>\n", x, y);
        if (!placed[i].visible) {
            std::printf("%s at (%g, %g): hidden, %s\n", texts[i], x, y,
                        describe(placed[i].hiddenReason));
            continue;
        }
        std::fprintf(out, "<polygon fill=\"#fff8dc\" stroke=\"#333\" points=\"");
        for (std::uint32_t p = starts[outline]; p < starts[outline + 1]; ++p) {
            std::fprintf(out, "%g,%g ", points[p][0], points[p][1]);
        }
        ++outline;
        std::fprintf(out, "\"/>\n");
        // The offset leads from the anchor to the body's centre.
        std::fprintf(out,
                     "<text x=\"%g\" y=\"%g\" font-family=\"sans-serif\" font-size=\"14\" "
                     "text-anchor=\"middle\" dominant-baseline=\"central\">%s</text>\n",
                     x + placed[i].offset[0], y + placed[i].offset[1], texts[i]);
        std::printf("%s at (%g, %g): %s\n", texts[i], x, y,
                    Varnek::toString(placed[i].referencePoint));
    }
    std::fprintf(out, "</svg>\n");
    if (std::fclose(out) != 0) {
        std::perror(path);
        return 1;
    }
    std::printf("wrote %zu of %zu labels to %s\n", outline, placed.size(), path);
    return 0;
}
