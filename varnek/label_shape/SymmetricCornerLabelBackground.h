// The rectangular label background: a rectangle whose four corners share one
// shape, given as the upper-left corner and mirrored into the others. Round
// corners are a quarter circle of five points, flat corners a chamfer of two,
// the plain rectangle has one point per corner.
//
// The outline walks the sides Top, Right, Bottom, Left; on the side that
// carries the indicator the indicator inserts its points, and after each side
// the next corner follows. For Center, and for any reference point outside
// -1..11, the outline is the bare body.
#ifndef VARNEK_LABEL_SHAPE_SYMMETRICCORNERLABELBACKGROUND_H
#define VARNEK_LABEL_SHAPE_SYMMETRICCORNERLABELBACKGROUND_H

#include <memory>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API SymmetricCornerLabelBackground final : public LabelBackground {
public:
    // The indicator may be empty. The background keeps a share of it and
    // initialize passes the scale factor on to it: give each background its
    // own indicator, since one shared between backgrounds takes the scale
    // factor of whichever was initialized last, for all of them. These forms
    // leave the background uninitialized; call initialize before any query.
    static std::shared_ptr<SymmetricCornerLabelBackground> createRoundCornered(
        std::shared_ptr<LabelIndicator> indicator);
    static std::shared_ptr<SymmetricCornerLabelBackground> createFlatCornered(
        std::shared_ptr<LabelIndicator> indicator);
    static std::shared_ptr<SymmetricCornerLabelBackground> createSimpleRectangle(
        std::shared_ptr<LabelIndicator> indicator);
    // The same backgrounds, already initialized with the scale factor (and
    // their indicator with it).
    static std::shared_ptr<SymmetricCornerLabelBackground> createRoundCornered(
        std::shared_ptr<LabelIndicator> indicator,
        float screenHeightFractionToMaskedSceneScaleFactor);
    static std::shared_ptr<SymmetricCornerLabelBackground> createFlatCornered(
        std::shared_ptr<LabelIndicator> indicator,
        float screenHeightFractionToMaskedSceneScaleFactor);
    static std::shared_ptr<SymmetricCornerLabelBackground> createSimpleRectangle(
        std::shared_ptr<LabelIndicator> indicator,
        float screenHeightFractionToMaskedSceneScaleFactor);

    ~SymmetricCornerLabelBackground() override;

    // Two corners along each axis.
    Vector<float, 3> getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
        ReferencePoint referencePoint) const noexcept override;
    // Two corners along each axis, plus the minimal indicator's width along
    // the edge that carries it.
    Vector<float, 3> getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint) const noexcept override;
    // Two corners along each axis, plus the indicator's width for this label
    // size along the edge that carries it.
    Vector<float, 3> getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept override;
    // 4 x corner points, plus the indicator's points when the reference point
    // lies on a side. Allocates once.
    std::vector<Vector<float, 3>> getPolygon(ReferencePoint referencePoint,
                                             const Vector<float, 3>& size,
                                             const Vector<float, 3>& offset) const override;

private:
    // Magnitudes of the upper-left corner's points in screen-height fractions,
    // measured from the arc centre (x leftwards, y upwards), in the order a
    // clockwise walk passes them: from the end of the left edge to the start
    // of the top edge.
    VARNEK_NO_EXPORT static const std::vector<Vector<float, 3>> s_upperLeftCornerRound;
    VARNEK_NO_EXPORT static const std::vector<Vector<float, 3>> s_upperLeftCornerFlat;
    VARNEK_NO_EXPORT static const std::vector<Vector<float, 3>> s_upperLeftCornerSimpleRectangle;
    VARNEK_NO_EXPORT static const float s_flatCornerRadiusInScreenHeightFraction;

    // The private functions but the overrides are called from the library's
    // sources alone.
    VARNEK_NO_EXPORT SymmetricCornerLabelBackground(
        const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
        std::shared_ptr<LabelIndicator> indicator);

    const std::vector<Vector<float, 3>>& getUpperLeftCornerGeometryInScreenHeightFraction() const {
        return m_upperLeftCornerGeometryInScreenHeightFraction;
    }
    VARNEK_NO_EXPORT Vector<float, 3> getNeededSizeForCornerInMaskedCoordinates() const noexcept;

    VARNEK_NO_EXPORT static Vector<float, 3> getMinimalBodySizeInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& indicatorSize,
        const Vector<float, 3>& cornerSize) noexcept;
    // Not exported: its one caller is the override above, which can then
    // take it in whole.
    VARNEK_NO_EXPORT static std::vector<Vector<float, 3>> getPolygon(
        ReferencePoint referencePoint, const Vector<float, 3>& size,
        const std::vector<Vector<float, 3>>& upperLeftCornerGeometry,
        float screenHeightFractionToMaskedSceneScaleFactor, const Vector<float, 3>& cornerSize,
        const LabelIndicator* indicator, const Vector<float, 3>& offset);

    // The outline written in place, allocating nothing when points has room.
    void appendPolygonPoints(ReferencePoint referencePoint, const Vector<float, 3>& size,
                             const Vector<float, 3>& offset,
                             std::vector<Vector<float, 3>>& points) const override;
    // The outline written on the stack and measured.
    void findPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                           const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                           Vector<float, 3>& maximum) const override;

    int getNumberOfPolygonPointsWithoutIndicatorPoints() const noexcept override;
    Vector<float, 3> getBodyOffset(ReferencePoint referencePoint,
                                   const Vector<float, 3>& size) const noexcept override;

    const std::vector<Vector<float, 3>>& m_upperLeftCornerGeometryInScreenHeightFraction;
    // The space one corner takes along each axis.
    Vector<float, 3> m_neededSizeForCornerInScreenHeightFraction;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_SYMMETRICCORNERLABELBACKGROUND_H
