// A label indicator made of a small triangle and, optionally, a bar. The bar
// is as long as the indicator's full width and lies along the body edge
// facing the anchor, between the body and the triangle's base. The triangle
// is 55 % of the full width wide and sits at one end of the bar or in its
// middle, as the layer says. Without the bar the triangle keeps the place it
// would have on it.
//
// Out-of-contract input: for Center, and any reference point outside -1..11,
// the offset is zero and the points lie at the origin; with the bar on they
// are seven, whatever the layer. A layer value outside 0..2 puts the triangle
// in the bar's middle (seven points with the bar) although
// getNumberOfPolygonPoints reports 6 for it.
#ifndef VARNEK_LABEL_SHAPE_LAYEREDLABELINDICATOR_H
#define VARNEK_LABEL_SHAPE_LAYEREDLABELINDICATOR_H

#include <memory>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API LayeredLabelIndicator final : public LabelIndicator {
public:
    // Where the triangle sits on the bar: along a horizontal edge Lower is
    // the left end and Upper the right end; along a vertical edge Lower is
    // the lower end and Upper the upper end.
    enum Layer : int { Lower = 0, Middle = 1, Upper = 2 };

    // A triangle 0.6 times as high as it is wide, on a bar if withAdditionalBar.
    // Uninitialized; the background it is handed to initializes it. Give each
    // background its own indicator: a shared one takes the scale factor of
    // the background initialized last, which changes the geometry of every
    // background sharing it.
    static std::unique_ptr<LayeredLabelIndicator> createLayeredLabelIndicator(
        bool withAdditionalBar, Layer layer, bool useFixedSize,
        float fixedIndicatorWidthInScreenHeightFraction);

    ~LayeredLabelIndicator() override;

    // The full width (recovered from the triangle's width) and the height of
    // triangle and bar together.
    Vector<float, 3> getSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept override;
    Vector<float, 3> getTriangleSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept override;
    // 3 without the bar; with it 7 for Middle and 6 for any other layer.
    int getNumberOfPolygonPoints() const noexcept override;
    // The point on the body edge at the bar's start, end or middle, for a
    // reference point at the start, end or centre of its edge.
    Vector<float, 3> getOffset(ReferencePoint referencePoint,
                               const Vector<float, 3>& size) const noexcept override;
    // The bar's corners round the triangle; where the triangle sits at an end
    // of the bar, its base corner there doubles as the bar's outer corner.
    void addPolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                          const Vector<float, 3>& size,
                                          std::vector<Vector<float, 3>>& points) const override;
    // The same points in place, when there are getNumberOfPolygonPoints()
    // of them (a placed reference point and a layer of the enumeration).
    bool writePolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                            const Vector<float, 3>& size,
                                            Vector<float, 3>* points) const noexcept override;

private:
    VARNEK_NO_EXPORT static const float s_triangleToCompleteSideRatio;
    VARNEK_NO_EXPORT static const float s_triangleWidthToHeightRatio;
    VARNEK_NO_EXPORT static const float s_barThicknessToLengthRatio;
    VARNEK_NO_EXPORT static const float s_minimalBarThicknessInScreenHeightFraction;

    // The lengths every query derives from the full width.
    struct Dimensions {
        float triangleWidth;
        float triangleHeight;
    };

    // The private functions are called from the library's sources alone.
    VARNEK_NO_EXPORT LayeredLabelIndicator(float triangleWidthToHeightRatio, bool withAdditionalBar,
                                           Layer layer, bool useFixedSize,
                                           float fixedIndicatorWidthInScreenHeightFraction);

    VARNEK_NO_EXPORT Dimensions getDimensions(ReferencePoint referencePoint,
                                              const Vector<float, 3>& size) const noexcept;
    // (full width, thickness, 0), or zero without the bar.
    VARNEK_NO_EXPORT Vector<float, 3> getAdditionalBarSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept;
    VARNEK_NO_EXPORT bool isTriangleDrawnFirstInClockwiseOrder(
        ReferencePoint referencePoint) const noexcept;
    VARNEK_NO_EXPORT bool isTriangleDrawnLastInClockwiseOrder(
        ReferencePoint referencePoint) const noexcept;
    // How many points the outline has for this reference point: the bar's
    // end corners are shared with the triangle's base at the end it sits at.
    VARNEK_NO_EXPORT int getNumberOfOutlinePoints(ReferencePoint referencePoint) const noexcept;
    // Writes the outline to points, which has room for
    // getNumberOfOutlinePoints(referencePoint) of them.
    VARNEK_NO_EXPORT void writeOutline(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                       Vector<float, 3>* points) const noexcept;

    bool m_withAdditionalBar;
    Layer m_layer;
    float m_triangleWidthToHeightRatio;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_LAYEREDLABELINDICATOR_H
