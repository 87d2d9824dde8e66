// The balloon-shaped label background: a drop with its tip at the anchor and
// a round head below it (towards +y). The outline is drawn once, from a fixed
// path of thirteen cubic Bézier segments approximated by the geometry
// library, and every polygon is that outline scaled to the label's width.
// The balloon has no indicator (its tip points to the anchor), ignores the
// reference point and fits any label size.
#ifndef VARNEK_LABEL_SHAPE_BALLOONLABELBACKGROUND_H
#define VARNEK_LABEL_SHAPE_BALLOONLABELBACKGROUND_H

#include <array>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API BalloonLabelBackground : public LabelBackground {
public:
    // A balloon without indicator, its outline already built. Whatever the
    // geometry library or an allocation throws leaves the constructor.
    BalloonLabelBackground();
    // The same balloon, already initialized with the scale factor.
    explicit BalloonLabelBackground(float screenHeightFractionToMaskedSceneScaleFactor);

    ~BalloonLabelBackground() override;

    // Recomputes the stored outline from the path (the same points every
    // time). If it throws, the previous outline is kept.
    void buildUnscaledPolygonBackground();

    // Width / height of the balloon: 0.618.
    static float getBalloonWidthHeightRatio() noexcept;

    // (0, 0, 0) whatever the arguments: the balloon fits any label size.
    Vector<float, 3> getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
        ReferencePoint referencePoint) const override;
    Vector<float, 3> getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint) const override;
    Vector<float, 3> getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const override;

    // The outline scaled to size.x wide and size.x / 0.618 high, clockwise
    // from the tip at the anchor; referencePoint and offset are not used. A
    // width of 0 puts every point on the anchor, a negative width turns the
    // balloon half round about it.
    std::vector<Vector<float, 3>> getPolygon(ReferencePoint referencePoint,
                                             const Vector<float, 3>& size,
                                             const Vector<float, 3>& offset) const override;

private:
    // The scaled outline written in place, and its extent, allocating nothing.
    void appendPolygonPoints(ReferencePoint referencePoint, const Vector<float, 3>& size,
                             const Vector<float, 3>& offset,
                             std::vector<Vector<float, 3>>& points) const override;
    void findPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                           const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                           Vector<float, 3>& maximum) const override;

    VARNEK_NO_EXPORT static Vector<float, 3> getMinimalBodySizeInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size,
        const Vector<float, 3>& indicatorSize) noexcept;

    // 57, the points of the outline, without measuring it.
    int getNumberOfPolygonPointsWithoutIndicatorPoints() const override;

    // (0, size.x / 0.618 * 0.691, 0): from the tip to the centre of the head.
    Vector<float, 3> getBodyOffset(ReferencePoint referencePoint,
                                   const Vector<float, 3>& size) const override;

    static constexpr float s_balloonWidthHeightRatio = 0.618f;
    // Distance from the tip to the centre of the head, as a fraction of the
    // height.
    static constexpr float s_balloonCircleCenterRatioY = 0.691f;
    // Extents and point count of the polyline the geometry library makes of
    // the path; polygons are scaled by the width without measuring it.
    static constexpr float s_widthOfPolyLine = 61.55f;
    static constexpr float s_heightOfPolyLine = 99.594f;
    static constexpr int s_numberOfPolyLinePoints = 57;

    // Thirteen cubic Bézier segments, one per row, each relative to its start
    // point (the previous end; the tip for the first): first control point,
    // second control point, end point, as (x, y) pairs. Clockwise from the
    // tip: down the +x side, round the head, back up the -x side.
    // clang-format off
    VARNEK_NO_EXPORT static constexpr std::array<double, 78> s_bezier{
        2.28035, 11.1942, 6.30094, 20.5097, 11.1708, 29.1435,
        3.61218, 6.40424, 7.7967, 12.3155, 11.6685, 18.5258,
        1.29247, 2.07318, 2.40788, 4.26336, 3.64982, 6.41495,
        2.48329, 4.30217, 4.49671, 9.29029, 4.36876, 15.7607,
        -0.125, 6.32194, -1.95341, 11.3932, -4.59, 15.5395,
        -4.33641, 6.8197, -11.6001, 12.4111, -21.3461, 13.8805,
        -7.96859, 1.20141, -15.4397, -0.828353, -20.7378, -3.92635,
        -4.32941, -2.53165, -7.68212, -5.91335, -10.2306, -9.89882,
        -2.66, -4.15976, -4.49171, -9.07412, -4.64535, -15.4842,
        -0.0786492, -3.28412, 0.459114, -6.32541, 1.2167, -8.84812,
        0.766702, -2.55347, 1.99976, -4.68794, 3.09682, -6.96788,
        2.14153, -4.45053, 4.82641, -8.52835, 7.52088, -12.6086,
        8.02571, -12.1533, 15.5586, -24.5476, 18.8576, -41.531};
    // clang-format on

    std::vector<Vector<float, 3>> m_unscaledPolygonBackground;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_BALLOONLABELBACKGROUND_H
