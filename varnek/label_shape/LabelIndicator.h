// The abstract label indicator: the pointer shape between a label body and
// its anchor. It knows whether its width is fixed (a fraction of the screen
// height) or taken from the label size, holds the scale factor that turns
// screen-height fractions into masked coordinates, and provides the triangle
// generator the concrete indicators build on.
//
// All positions are relative to the anchor, which is the indicator's tip. A
// size "in nominal rotation" has x along the body edge that carries the
// indicator and y across it (the indicator's height).
//
// Out-of-contract input: a reference point outside -1..11 is answered like
// Center (zero full width when free-sized, zero offset, points at the
// origin). NaN or infinite sizes and scale factors propagate through the
// single-precision arithmetic; nothing reads out of bounds.
//
// Threads and exceptions as for the backgrounds (LabelBackground.h): const
// queries from any number of threads at once; initialize (of the indicator
// or of any background sharing it) not beside any other use of it. Of the
// library's indicators, only addPolygonPointsInClockwiseOrder and the
// factories allocate, and they throw nothing but std::bad_alloc, leaving
// the points and every existing object as they were; the rest throw
// nothing, and those that no override can reach are noexcept.
#ifndef VARNEK_LABEL_SHAPE_LABELINDICATOR_H
#define VARNEK_LABEL_SHAPE_LABELINDICATOR_H

#include <array>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API LabelIndicator {
public:
    // Where the label sits round its anchor.
    using ReferencePoint = LabelBackground::ReferencePoint;

    // The fixed width is kept only if useFixedSize is true, else -1.0. The
    // scale factor is -1.0 and isInitialized() false until initialize.
    LabelIndicator(bool useFixedSize, float fixedIndicatorWidthInScreenHeightFraction);
    virtual ~LabelIndicator();

    // The whole indicator's size for this reference point and label size.
    virtual Vector<float, 3> getSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const = 0;
    // The size of the indicator's triangle alone.
    virtual Vector<float, 3> getTriangleSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const = 0;
    // How many points addPolygonPointsInClockwiseOrder appends for a
    // reference point on a side.
    virtual int getNumberOfPolygonPoints() const = 0;
    // The vector from the anchor to the label's reference point.
    virtual Vector<float, 3> getOffset(ReferencePoint referencePoint,
                                       const Vector<float, 3>& size) const = 0;
    // Appends the indicator's outline, in the clockwise order of the label
    // polygon, behind what points already holds.
    virtual void addPolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                                  const Vector<float, 3>& size,
                                                  std::vector<Vector<float, 3>>& points) const = 0;
    // Writes the same outline into points, which has room for
    // getNumberOfPolygonPoints() of them, and returns true; returns false,
    // writing nothing, when the outline has another number of points or the
    // indicator only appends (the default). The label outline uses it to put
    // the points in place instead of appending and moving them.
    virtual bool writePolygonPointsInClockwiseOrder(ReferencePoint referencePoint,
                                                    const Vector<float, 3>& size,
                                                    Vector<float, 3>* points) const;

    // Stores the masked-coordinate length of one screen height. A background
    // initializes its indicator with its own scale factor, so an indicator
    // shared between backgrounds has the value of the last initialize.
    void initialize(float screenHeightFractionToMaskedSceneScaleFactor) noexcept;
    // True once initialize was called, whatever the value it was given.
    bool isInitialized() const noexcept { return m_initialized; }

    // The construction arguments and the scale factor, as stored.
    bool getUseFixedSize() const noexcept { return m_useFixedSize; }
    float getFixedIndicatorWidthInScreenHeightFraction() const noexcept {
        return m_fixedIndicatorWidthInScreenHeightFraction;
    }
    float getScreenHeightFractionToMaskedSceneScaleFactor() const noexcept {
        return m_screenHeightFractionToMaskedSceneScaleFactor;
    }

    // The size at the fixed width, independent of any label; (0, 0, 0) for a
    // free-sized indicator.
    Vector<float, 3> getMinimalSizeInNominalRotationInMaskedCoordinates() const;

    // A nominal size turned to the frame's axes: unchanged for Top and
    // Bottom, x and y exchanged (z dropped) for Left and Right, zero otherwise.
    Vector<float, 3> getSizeRotatedToSide(ReferencePoint referencePoint,
                                          const Vector<float, 3>& size) const noexcept;

    // Forms that accept a null indicator and then answer (0, 0, 0) or 0.
    static Vector<float, 3> getSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const LabelIndicator* indicator,
        const Vector<float, 3>& size);
    static Vector<float, 3> getTriangleSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint referencePoint, const LabelIndicator* indicator,
        const Vector<float, 3>& size);
    static Vector<float, 3> getOffset(ReferencePoint referencePoint,
                                      const LabelIndicator* indicator,
                                      const Vector<float, 3>& size);
    static Vector<float, 3> getSizeRotatedToSide(ReferencePoint referencePoint,
                                                 const LabelIndicator* indicator,
                                                 const Vector<float, 3>& size) noexcept;
    static int getNumberOfPolygonPoints(const LabelIndicator* indicator);
    static Vector<float, 3> getMinimalSizeInNominalRotationInMaskedCoordinates(
        const LabelIndicator* indicator);

protected:
    // Appends the base start, the tip (origin) and the base end of a triangle
    // of the given (base width, height); three origins for a point on no side.
    static void addTrianglePointsInClockwiseOrder(ReferencePoint referencePoint,
                                                  const Vector<float, 3>& triangleSize,
                                                  std::vector<Vector<float, 3>>& points);
    // Signs, per axis, of the direction from the anchor to the label's
    // reference point; the zero vector for Center and out of range.
    static const Vector<float, 3>& getIndicatorPointToLabelReferencePointVectorMask(
        ReferencePoint referencePoint) noexcept;

private:
    bool m_useFixedSize;
    float m_fixedIndicatorWidthInScreenHeightFraction;
    float m_screenHeightFractionToMaskedSceneScaleFactor;
    bool m_initialized;

    VARNEK_NO_EXPORT static const std::array<Vector<float, 3>, 12>
        s_indicatorPointToLabelReferencePointVectorMasks;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_LABELINDICATOR_H
