// The plain label indicator: one isosceles triangle with its tip at the
// anchor and its base, the indicator's full width, on the body edge facing
// the anchor. Acute-angled triangles are two thirds as high as they are
// wide, right-angled ones half as high.
//
// For Center a fixed-size triangle keeps its size while its offset is zero
// and its points lie at the origin; a free-sized one has size zero. Values
// outside -1..11 are answered like Center.
#ifndef VARNEK_LABEL_SHAPE_TRIANGULARLABELINDICATOR_H
#define VARNEK_LABEL_SHAPE_TRIANGULARLABELINDICATOR_H

#include <memory>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API TriangularLabelIndicator final : public LabelIndicator {
public:
    // Default fixed widths for callers to pass to the factories.
    static constexpr float s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction = 0.015f;
    static constexpr float s_defaultRightAngledIndicatorWidthInScreenHeightFraction = 0.0185f;

    // The factories give an uninitialized indicator; the background it is
    // handed to initializes it. Give each background its own indicator: a
    // shared one takes the scale factor of the background initialized last,
    // which changes the geometry of every background sharing it.
    //
    // A triangle two thirds as high as its base is wide.
    static std::unique_ptr<TriangularLabelIndicator> createAcuteAngledTriangularLabelIndicator(
        bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction);
    // A triangle half as high as its base is wide: a right angle at the tip.
    static std::unique_ptr<TriangularLabelIndicator> createRightAngledTriangularLabelIndicator(
        bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction);

    ~TriangularLabelIndicator() override;

    // (w, w * ratio, 0) for the full width w.
    Vector<float, 3> getSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept override;
    // The same as the whole size: the triangle is the whole indicator.
    Vector<float, 3> getTriangleSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const noexcept override;
    // 3, always.
    int getNumberOfPolygonPoints() const noexcept override;
    // The base corner (for a reference point at an end of its edge) or the
    // base's middle (for a centre) that the label's reference point meets.
    Vector<float, 3> getOffset(ReferencePoint referencePoint,
                               const Vector<float, 3>& size) const noexcept override;
    // Base start, tip, base end.
    void addPolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                          const Vector<float, 3>& size,
                                          std::vector<Vector<float, 3>>& points) const override;
    // The same three points, in place; always true.
    bool writePolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                            const Vector<float, 3>& size,
                                            Vector<float, 3>* points) const noexcept override;

private:
    VARNEK_NO_EXPORT static const float s_acuteAngledWidthToHeightRatio;
    VARNEK_NO_EXPORT static const float s_rightAngledWidthToHeightRatio;

    // Called by the factories alone.
    VARNEK_NO_EXPORT TriangularLabelIndicator(float widthToHeightRatio, bool useFixedSize,
                                              float fixedIndicatorWidthInScreenHeightFraction);

    float m_widthToHeightRatio;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_TRIANGULARLABELINDICATOR_H
