// The geometry of the twelve placed reference points, stated once: for each
// side of the anchor the axes of the edge that faces it, and for each
// reference point its side and its place on that edge. The tables the shapes
// look up (the centre masks, the masks towards the label's reference point,
// the edge directions, the corner at each side's clockwise end, the mirrored
// point) are derived from these two at compile time. Private to the
// library's sources; not installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_REFERENCEPOINTGEOMETRY_H
#define VARNEK_LABEL_SHAPE_INTERNAL_REFERENCEPOINTGEOMETRY_H

#include <array>
#include <cstddef>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// The edge of the body that faces the anchor (x to the right, y downwards):
// the axis across it with the sign from the anchor into the body, and the
// sign, along the other axis, of the clockwise walk over it.
struct SideGeometry {
    std::size_t acrossAxis;
    float intoBody;
    float walk;

    constexpr std::size_t getAlongAxis() const { return 1 - acrossAxis; }
};

inline constexpr std::size_t s_numberOfSides = 4;

// Indexed by side value; the values 0 to 3 go round clockwise.
inline constexpr std::array<SideGeometry, s_numberOfSides> s_sideGeometries = {{
    {1, -1.0f, -1.0f},  // Top: the body above, its lower edge walked leftwards
    {0, 1.0f, -1.0f},   // Right: the body to the right, its left edge walked upwards
    {1, 1.0f, 1.0f},    // Bottom: the body below, its upper edge walked rightwards
    {0, -1.0f, 1.0f},   // Left: the body to the left, its right edge walked downwards
}};

// Where a reference point lies on the edge that faces the anchor, as the
// clockwise walk along that edge meets it: the body extends from it with
// the walk (Start), against it (End), or equally both ways (Middle).
enum class EdgePlace { Start, Middle, End };

struct Placement {
    LabelBackground::Side side;
    EdgePlace place;
    const char* name;
};

inline constexpr std::size_t s_numberOfPlacedReferencePoints = 12;

// One row per placed reference point, indexed by its value.
inline constexpr std::array<Placement, s_numberOfPlacedReferencePoints> s_placements = {{
    {LabelBackground::Top, EdgePlace::Start, "TopLeft"},
    {LabelBackground::Top, EdgePlace::Middle, "TopCenter"},
    {LabelBackground::Top, EdgePlace::End, "TopRight"},
    {LabelBackground::Left, EdgePlace::End, "LeftTop"},
    {LabelBackground::Left, EdgePlace::Middle, "LeftCenter"},
    {LabelBackground::Left, EdgePlace::Start, "LeftBottom"},
    {LabelBackground::Right, EdgePlace::Start, "RightTop"},
    {LabelBackground::Right, EdgePlace::Middle, "RightCenter"},
    {LabelBackground::Right, EdgePlace::End, "RightBottom"},
    {LabelBackground::Bottom, EdgePlace::End, "BottomLeft"},
    {LabelBackground::Bottom, EdgePlace::Middle, "BottomCenter"},
    {LabelBackground::Bottom, EdgePlace::Start, "BottomRight"},
}};

constexpr const SideGeometry& getSideGeometryOfPlaced(std::size_t index) {
    return s_sideGeometries[static_cast<std::size_t>(s_placements[index].side)];
}

// The sign, along the edge, of the way the body extends from the reference
// point; 0 for the middle of the edge.
constexpr float getBodyAlongWalk(EdgePlace place) {
    return place == EdgePlace::Start ? 1.0f : place == EdgePlace::End ? -1.0f : 0.0f;
}

// Signs of a direction from a placed reference point: into the body across
// the edge, and along it alongSign times the way the body extends (none in
// the middle of the edge). Every zero is +0.
constexpr Vector<float, 3> getMaskOfPlaced(std::size_t index, float alongSign) {
    const SideGeometry& side = getSideGeometryOfPlaced(index);
    const float along = getBodyAlongWalk(s_placements[index].place);
    Vector<float, 3> mask;
    mask[side.acrossAxis] = side.intoBody;
    if (along != 0.0f) {
        mask[side.getAlongAxis()] = alongSign * side.walk * along;
    }
    return mask;
}

// From the reference point to the body's centre.
constexpr Vector<float, 3> getCenterMaskOfPlaced(std::size_t index) {
    return getMaskOfPlaced(index, 1.0f);
}

// From the anchor, the indicator's tip, to the label's reference point:
// along the edge back against the way the body extends.
constexpr Vector<float, 3> getIndicatorMaskOfPlaced(std::size_t index) {
    return getMaskOfPlaced(index, -1.0f);
}

// A table indexed by reference point value, one entry per placed point.
template <typename Entry, typename Function>
constexpr std::array<Entry, s_numberOfPlacedReferencePoints> makePlacedTable(Function entryOf) {
    std::array<Entry, s_numberOfPlacedReferencePoints> table{};
    for (std::size_t index = 0; index < s_numberOfPlacedReferencePoints; ++index) {
        table[index] = entryOf(index);
    }
    return table;
}

inline constexpr std::array<Vector<float, 3>, s_numberOfPlacedReferencePoints> s_centerMasks =
    makePlacedTable<Vector<float, 3>>(getCenterMaskOfPlaced);
inline constexpr std::array<Vector<float, 3>, s_numberOfPlacedReferencePoints> s_indicatorMasks =
    makePlacedTable<Vector<float, 3>>(getIndicatorMaskOfPlaced);

// The unit vector of the axis scaled by factor, with the signed zeros that
// scaling gives: (1, 0, 0) times -1 is (-1, -0, -0).
constexpr Vector<float, 3> getScaledUnitVector(std::size_t axis, float factor) {
    Vector<float, 3> unit;
    unit[axis] = 1.0f;
    return {unit[0] * factor, unit[1] * factor, unit[2] * factor};
}

// The unit directions on each side's edge, indexed by side value, and a last
// row of zeros for no side: Directions{across, along}, across pointing from
// the tip into the body and along following the clockwise walk, each the
// unit axis scaled by its sign so that every point built from them keeps its
// sign bits.
template <typename Directions>
constexpr std::array<Directions, s_numberOfSides + 1> makeEdgeDirectionsOfSides() {
    std::array<Directions, s_numberOfSides + 1> directions{};
    for (std::size_t side = 0; side < s_numberOfSides; ++side) {
        const SideGeometry& geometry = s_sideGeometries[side];
        directions[side] = Directions{getScaledUnitVector(geometry.acrossAxis, geometry.intoBody),
                                      getScaledUnitVector(geometry.getAlongAxis(), geometry.walk)};
    }
    return directions;
}

// The placed reference point on the side at the given place; Center if none.
constexpr LabelBackground::ReferencePoint findPlaced(LabelBackground::Side side, EdgePlace place) {
    for (std::size_t index = 0; index < s_numberOfPlacedReferencePoints; ++index) {
        if (s_placements[index].side == side && s_placements[index].place == place) {
            return static_cast<LabelBackground::ReferencePoint>(index);
        }
    }
    return LabelBackground::Center;
}

// The reference point at the clockwise end of the side's edge, indexed by
// side value.
inline constexpr std::array<LabelBackground::ReferencePoint, s_numberOfSides>
    s_cornersOfSidesInClockwiseOrder = {
        findPlaced(LabelBackground::Top, EdgePlace::End),
        findPlaced(LabelBackground::Right, EdgePlace::End),
        findPlaced(LabelBackground::Bottom, EdgePlace::End),
        findPlaced(LabelBackground::Left, EdgePlace::End),
};

// The reference point on the opposite side whose body extends the same way
// along the edge: the same place seen from across the anchor.
constexpr LabelBackground::ReferencePoint getMirroredOfPlaced(std::size_t index) {
    const auto opposite = static_cast<LabelBackground::Side>(
        (static_cast<std::size_t>(s_placements[index].side) + 2) % s_numberOfSides);
    const std::size_t alongAxis = getSideGeometryOfPlaced(index).getAlongAxis();
    for (std::size_t other = 0; other < s_numberOfPlacedReferencePoints; ++other) {
        if (s_placements[other].side == opposite &&
            s_centerMasks[other][alongAxis] == s_centerMasks[index][alongAxis]) {
            return static_cast<LabelBackground::ReferencePoint>(other);
        }
    }
    return LabelBackground::Center;
}

inline constexpr std::array<LabelBackground::ReferencePoint, s_numberOfPlacedReferencePoints>
    s_mirrored = makePlacedTable<LabelBackground::ReferencePoint>(getMirroredOfPlaced);

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_REFERENCEPOINTGEOMETRY_H
