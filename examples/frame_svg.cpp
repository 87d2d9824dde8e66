// Draws one frame's labels into an SVG file: five anchors in an 800 x 600
// view, each label at a reference point chosen by hand (an application would
// choose them so that labels neither overlap nor leave the view). Usage:
// frame_svg [FILE.svg], default frame.svg.
#include <varnek/varnek.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Varnek::LabelBackground;
using Varnek::Vector;

struct Label {
    float anchorX;  // pixels from the view's left edge
    float anchorY;  // pixels from the view's top edge
    LabelBackground::ReferencePoint where;
    const char* text;
    std::shared_ptr<LabelBackground> background;
};

// A rough text extent for a 14-pixel sans-serif font plus a margin.
Vector<float, 3> textSize(const char* text) {
    std::size_t characters = 0;
    while (text[characters] != '\0') {
        ++characters;
    }
    return {8.0f * static_cast<float>(characters) + 12.0f, 24.0f, 0.0f};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Varnek;
    const char* path = argc > 1 ? argv[1] : "frame.svg";
    const float width = 800.0f;
    const float height = 600.0f;

    // Each background gets its own indicator; all share the view's scale.
    auto triangle = [] {
        return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    };
    std::vector<Label> labels = {
        {200.0f, 150.0f, LabelBackground::TopLeft, "Flange",
         SymmetricCornerLabelBackground::createRoundCornered(triangle(), height)},
        {560.0f, 160.0f, LabelBackground::RightCenter, "Bolt M8",
         SymmetricCornerLabelBackground::createFlatCornered(triangle(), height)},
        {400.0f, 320.0f, LabelBackground::BottomCenter, "Weld seam",
         SymmetricCornerLabelBackground::createRoundCornered(
             LayeredLabelIndicator::createLayeredLabelIndicator(true, LayeredLabelIndicator::Middle,
                                                                true, 0.03f),
             height)},
        {150.0f, 470.0f, LabelBackground::LeftBottom, "Gasket",
         SymmetricCornerLabelBackground::createSimpleRectangle(triangle(), height)},
        {640.0f, 420.0f, LabelBackground::Center, "Note",
         std::make_shared<BalloonLabelBackground>(height)},
    };

    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    std::fprintf(out,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\">\n"
                 "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                 width, height);
    for (const Label& label : labels) {
        const Vector<float, 3> size = textSize(label.text);
        const Vector<float, 3> offset = label.background->getOffset(label.where, size);
        // Masked coordinates are pixels relative to the anchor, y down like SVG.
        std::fprintf(out, "<polygon fill=\"#fff8dc\" stroke=\"#333\" points=\"");
        for (const Vector<float, 3>& point :
             label.background->getPolygon(label.where, size, offset)) {
            std::fprintf(out, "%g,%g ", label.anchorX + point[0], label.anchorY + point[1]);
        }
        std::fprintf(out, "\"/>\n");
        std::fprintf(out,
                     "<text x=\"%g\" y=\"%g\" font-family=\"sans-serif\" font-size=\"14\" "
                     "text-anchor=\"middle\" dominant-baseline=\"central\">%s</text>\n",
                     label.anchorX + offset[0], label.anchorY + offset[1], label.text);
        std::fprintf(out, "<circle cx=\"%g\" cy=\"%g\" r=\"3\" fill=\"#c00\"/>\n", label.anchorX,
                     label.anchorY);
    }
    std::fprintf(out, "</svg>\n");
    if (std::fclose(out) != 0) {
        std::perror(path);
        return 1;
    }
    std::printf("wrote %zu labels to %s\n", labels.size(), path);
    return 0;
}
