// Where a label sits round its anchor, and the abstract label background.
//
// A reference point names the side of the anchor that the label body lies on
// and whether the body extends from the anchor towards one end of that side
// or sits centred on it. All label geometry lives in masked coordinates: x to
// the right, y downwards, third component 0, relative to the anchor.
//
// A background is the outline behind a label's text: a body whose shape the
// concrete class gives and an optional indicator, shared with its creator,
// that juts out of one edge and points to the anchor. Every query takes the
// label size, the extent the label's content needs; the body never gets
// smaller than that.
//
// Out-of-contract input: a reference point outside -1..11 is answered like
// Center (zero mask, zero offset, no indicator points in the outline). NaN or
// infinite sizes and scale factors run through the single-precision
// arithmetic as IEEE values and never change a point count: a NaN label-size
// component gives a NaN body component, while a NaN minimum (from a NaN scale
// factor) yields to the label size in the body's max.
//
// Threads: the const queries of a background read nothing but the object,
// its indicator and constant tables, so any number of threads may query one
// background, or different backgrounds, at the same time. initialize writes
// the scale factor of the background and of its indicator: it must not run
// while any other call uses that background, its indicator, or another
// background sharing the indicator (initialize of a background that shares
// nothing may run beside anything). Making, copying and dropping backgrounds
// that share one indicator is safe from any thread: only the indicator's
// share count changes.
//
// Exceptions: of the library's shapes, only the functions that allocate
// (getPolygon, getIndicatorPolygon, appendPolygon, the factories and
// constructors of the concrete shapes) throw: std::bad_alloc when memory
// runs out, and then, but for appendPolygon's points, nothing has changed:
// no object that existed before the call, no share count. Functions that
// no override can reach are noexcept; the others pass on whatever an
// indicator or background written outside the library throws from its
// overrides.
//
// Geometry: what a background answers for a reference point and a label
// size (offsets, sizes, outlines, their extent) depends only on what it was
// made with and on its own and its indicator's scale factors, so it changes
// only through initialize. LabelPlacer relies on this: it keeps each
// background's geometry per size, and a new scale factor makes it ask again.
// A background written outside the library must keep to it (debug builds of
// the library check it).
//
// Allocations: for a placed reference point, getPolygon and
// getIndicatorPolygon allocate exactly their result, in one block, and
// appendPolygon allocates only when points has no room; every other query
// of the library's shapes allocates nothing.
#ifndef VARNEK_LABEL_SHAPE_LABELBACKGROUND_H
#define VARNEK_LABEL_SHAPE_LABELBACKGROUND_H

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <varnek/export.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class LabelIndicator;

class VARNEK_API LabelBackground {
public:
    // Placed values are grouped by side: Top 0-2, Left 3-5, Right 6-8,
    // Bottom 9-11. Any value outside -1..11 is answered like Center unless a
    // function says otherwise.
    enum ReferencePoint : int {
        Center = -1,
        TopLeft = 0,
        TopCenter = 1,
        TopRight = 2,
        LeftTop = 3,
        LeftCenter = 4,
        LeftBottom = 5,
        RightTop = 6,
        RightCenter = 7,
        RightBottom = 8,
        BottomLeft = 9,
        BottomCenter = 10,
        BottomRight = 11
    };

    // The side of the anchor the body lies on; 0 to 3 are in clockwise order.
    enum Side : int { Undefined = -1, Top = 0, Right = 1, Bottom = 2, Left = 3 };

    // Keeps a share of the indicator; an empty pointer means none. The scale
    // factor is -1.0 and isInitialized() false until initialize.
    explicit LabelBackground(std::shared_ptr<LabelIndicator> indicator);
    virtual ~LabelBackground();

    // The smallest body the shape allows, ignoring the indicator.
    virtual Vector<float, 3> getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
        ReferencePoint referencePoint) const = 0;
    // The smallest body with room for the indicator at its minimal size.
    virtual Vector<float, 3> getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint) const = 0;
    // The smallest body with room for the indicator at the size it takes for
    // this label size.
    virtual Vector<float, 3> getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint, const Vector<float, 3>& size) const = 0;
    // The closed clockwise outline of body and indicator, relative to the
    // anchor; offset is the vector from the anchor to the body's centre, as
    // getOffset gives it.
    virtual std::vector<Vector<float, 3>> getPolygon(ReferencePoint referencePoint,
                                                     const Vector<float, 3>& size,
                                                     const Vector<float, 3>& offset) const = 0;
    // The points getPolygon returns, bit for bit, appended behind what points
    // already holds. Allocates nothing for the library's backgrounds when
    // points has room for them (getNumberOfPolygonPoints() more).
    void appendPolygon(ReferencePoint referencePoint, const Vector<float, 3>& size,
                       const Vector<float, 3>& offset, std::vector<Vector<float, 3>>& points) const;
    // The smallest and largest coordinate, per axis, of the points getPolygon
    // returns, as values; an axis on which a point is NaN is NaN in both. An
    // empty outline gives +infinity and -infinity. Allocates nothing for the
    // library's backgrounds.
    void getPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                          const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                          Vector<float, 3>& maximum) const;
    // Fill triangles of an outline getPolygon gave (any closed simple
    // polygon): indices into polygon, three a triangle, for a renderer that
    // fills triangles. Each triangle (a, b, c) turns the way the outline
    // does: (b - a) x (c - a), in x and y, has the sign of the outline's
    // area (shoelace), positive for the library's outlines, clockwise with y
    // down. Each has a non-zero area; together they cover the outline's
    // interior once, so their areas add up to its area (the balloon's
    // outline closes a few units in the last place past its tip: that
    // sliver may be left out). The closing point is never used; repeated
    // and collinear points may go unused. An outline
    // without area or with a NaN or infinite point gives none. Allocates
    // only the result.
    static std::vector<std::uint32_t> getPolygonTriangles(
        const std::vector<Vector<float, 3>>& polygon);

    // Stores the scale factor, the masked-coordinate length of one screen
    // height (the view's height in the units the label sizes are measured
    // in: initialize(viewHeightInPixels) makes masked units pixels), and
    // passes it on to the indicator. An indicator shared with other
    // backgrounds takes the value of the last initialize of any of them.
    // Until it is called every query is still answered, but with the scale
    // factor -1.0: geometry that looks plausible and is wrong. Check
    // isInitialized(), or create the background with its scale factor.
    void initialize(float screenHeightFractionToMaskedSceneScaleFactor) noexcept;
    // True once initialize was called, whatever the value it was given.
    bool isInitialized() const noexcept { return m_initialized; }
    float getScreenHeightFractionToMaskedSceneScaleFactor() const noexcept {
        return m_screenHeightFractionToMaskedSceneScaleFactor;
    }

    // The indicator, or null; valid while the background lives.
    const LabelIndicator* getIndicator() const noexcept { return m_indicator.get(); }
    // Null for a null background.
    static const LabelIndicator* getIndicator(const LabelBackground* background) noexcept;

    // The body's size: the label size grown to the minimal body with the
    // final indicator; the third component is 0.
    Vector<float, 3> getBodySizeInMaskedCoordinates(ReferencePoint referencePoint,
                                                    const Vector<float, 3>& size) const;
    // The body grown by the indicator's height on the side of the reference
    // point.
    Vector<float, 3> getCompleteSizeInMaskedCoordinates(ReferencePoint referencePoint,
                                                        const Vector<float, 3>& size) const;
    // The vector from the anchor to the body's centre: the indicator's offset
    // plus the body offset.
    Vector<float, 3> getOffset(ReferencePoint referencePoint, const Vector<float, 3>& size) const;
    // The indicator's points alone, relative to the anchor; empty without one.
    std::vector<Vector<float, 3>> getIndicatorPolygon(ReferencePoint referencePoint,
                                                      const Vector<float, 3>& size) const;
    // The body's points plus the indicator's, whatever the reference point.
    int getNumberOfPolygonPoints() const;

    // Forms that accept a null background and then answer (0, 0, 0).
    static Vector<float, 3> getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(
        ReferencePoint referencePoint, const LabelBackground* background);
    static Vector<float, 3> getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint, const LabelBackground* background);
    static Vector<float, 3> getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
        ReferencePoint referencePoint, const LabelBackground* background,
        const Vector<float, 3>& size);
    static Vector<float, 3> getBodySizeInMaskedCoordinates(ReferencePoint referencePoint,
                                                           const LabelBackground* background,
                                                           const Vector<float, 3>& size);
    static Vector<float, 3> getCompleteSizeInMaskedCoordinates(ReferencePoint referencePoint,
                                                               const LabelBackground* background,
                                                               const Vector<float, 3>& size);

    // The vector from the reference point to the centre of a body symmetric
    // about its centre lines: across the edge the body lies wholly on the
    // mask's side; along it, a body as long as the minimal body is centred on
    // the reference point and a longer one extends the mask's way. Zero for
    // Center and out of range (with finite sizes).
    static Vector<float, 3> getAxiallySymmetricBodyOffset(
        ReferencePoint referencePoint, const Vector<float, 3>& bodySize,
        const Vector<float, 3>& minimalBodySize) noexcept;

    // Top, Right, Bottom, Left.
    static std::array<Side, 4> getAllSidesInClockwiseOrder() noexcept;

    // Signs, per axis, of the direction from the reference point to the body's
    // centre. Center and every value outside 0..11 give the zero vector.
    static const Vector<float, 3>& getReferencePointToLabelCenterVectorMask(
        ReferencePoint referencePoint) noexcept;

protected:
    // appendPolygon and getPolygonExtent for a derived class; the defaults
    // ask getPolygon and so allocate.
    virtual void appendPolygonPoints(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                     const Vector<float, 3>& offset,
                                     std::vector<Vector<float, 3>>& points) const;
    virtual void findPolygonExtent(ReferencePoint referencePoint, const Vector<float, 3>& size,
                                   const Vector<float, 3>& offset, Vector<float, 3>& minimum,
                                   Vector<float, 3>& maximum) const;

private:
    // How many points the body contributes to the outline.
    virtual int getNumberOfPolygonPointsWithoutIndicatorPoints() const = 0;
    // The vector from the label's reference point to the body's centre.
    virtual Vector<float, 3> getBodyOffset(ReferencePoint referencePoint,
                                           const Vector<float, 3>& size) const = 0;

    float m_screenHeightFractionToMaskedSceneScaleFactor;
    bool m_initialized;
    std::shared_ptr<LabelIndicator> m_indicator;

    VARNEK_NO_EXPORT static const std::array<Vector<float, 3>, 12>
        s_referencePointToLabelCenterVectorMasks;
};

// Side predicates: true only for the placed values of that side (Center and
// out-of-range values are on no side).
VARNEK_API bool isTopSide(LabelBackground::ReferencePoint referencePoint) noexcept;
VARNEK_API bool isBottomSide(LabelBackground::ReferencePoint referencePoint) noexcept;
VARNEK_API bool isLeftSide(LabelBackground::ReferencePoint referencePoint) noexcept;
VARNEK_API bool isRightSide(LabelBackground::ReferencePoint referencePoint) noexcept;
VARNEK_API bool isTopOrBottomSide(LabelBackground::ReferencePoint referencePoint) noexcept;
VARNEK_API bool isLeftOrRightSide(LabelBackground::ReferencePoint referencePoint) noexcept;

// True for the centre of every side and for Center; false out of range.
VARNEK_API bool isCenterAligned(LabelBackground::ReferencePoint referencePoint) noexcept;

// True for the reference point at the clockwise end of its side's edge
// (TopRight, LeftTop, RightBottom, BottomLeft).
VARNEK_API bool isTopAlignedRotationSymmetric(
    LabelBackground::ReferencePoint referencePoint) noexcept;

// True for the reference point at the clockwise start of its side's edge
// (TopLeft, LeftBottom, RightTop, BottomRight).
VARNEK_API bool isBottomAlignedRotationSymmetric(
    LabelBackground::ReferencePoint referencePoint) noexcept;

// True if the reference point lies on the given side; false for Undefined and
// any other side value.
VARNEK_API bool isReferencePointOnSide(LabelBackground::ReferencePoint referencePoint,
                                       LabelBackground::Side side) noexcept;

// The side holding the reference point; Undefined for Center and out of range.
VARNEK_API LabelBackground::Side getSideOfReferencePoint(
    LabelBackground::ReferencePoint referencePoint) noexcept;

// The reference point at the clockwise end of the side's edge; Center for
// any value outside 0..3.
VARNEK_API LabelBackground::ReferencePoint getCornerOfSideInClockwiseOrder(
    LabelBackground::Side side) noexcept;

// The reference point at the same place on the opposite side; Center for
// Center and out of range.
VARNEK_API LabelBackground::ReferencePoint getMirrored(
    LabelBackground::ReferencePoint referencePoint) noexcept;

// The enumerator's name: "TopLeft" to "BottomRight", "Center"; "unknown"
// out of range.
VARNEK_API const char* toString(LabelBackground::ReferencePoint referencePoint) noexcept;

// The side's value unchanged.
VARNEK_API int toIndex(LabelBackground::Side side) noexcept;

}  // namespace Varnek

// The indicator's header needs the reference points above; included last so
// that users of a background also see the complete indicator.
#include <varnek/label_shape/LabelIndicator.h>

#endif  // VARNEK_LABEL_SHAPE_LABELBACKGROUND_H
