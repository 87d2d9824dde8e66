// One label from start to end: a round-cornered background with a pointer,
// placed above and to the left of its anchor, in a view 600 pixels high.
// Prints the body size, the offset from the anchor to the body's centre and
// the outline, all in pixels relative to the anchor (y downwards).
#include <varnek/varnek.h>

#include <cstdio>

int main() {
    using namespace Varnek;

    std::printf("Varnek %s\n", getLibraryVersion());

    // The scale: the view's height in the units the label sizes are given in.
    // Sizes in pixels and the view's height in pixels make every result pixels.
    const float viewHeightInPixels = 600.0f;
    // The pointer is 0.015 of the view's height wide: 9 pixels here.
    const auto background = SymmetricCornerLabelBackground::createRoundCornered(
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
            true,
            TriangularLabelIndicator::s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction),
        viewHeightInPixels);
    if (!background->isInitialized()) {
        return 1;
    }

    const LabelBackground::ReferencePoint where = LabelBackground::TopLeft;
    const Vector<float, 3> textSize(80.0f, 18.0f, 0.0f);  // what the text needs

    const Vector<float, 3> body = background->getBodySizeInMaskedCoordinates(where, textSize);
    const Vector<float, 3> offset = background->getOffset(where, textSize);
    const std::vector<Vector<float, 3>> outline = background->getPolygon(where, textSize, offset);

    std::printf("body %g x %g, centre at (%g, %g) from the anchor\n", body[0], body[1], offset[0],
                offset[1]);
    std::printf("outline, %zu points, clockwise:\n", outline.size());
    for (const Vector<float, 3>& point : outline) {
        std::printf("  (%g, %g)\n", point[0], point[1]);
    }
    return outline.size() == static_cast<std::size_t>(background->getNumberOfPolygonPoints()) ? 0
                                                                                              : 1;
}
