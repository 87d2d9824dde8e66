// Where a callout's body may stand round its anchor: rings of places at
// growing distances from the anchor. The ring at distance t holds the
// places whose body's bounds lie t from the anchor (the body's centre on a
// rectangle with round corners round it), about the body's smaller
// side apart along it, clockwise from straight above the anchor. The rings
// go out from the anchor whatever the distance: one, two, three, four, six
// and eight of those sides from it, then the callout distance, as far as
// it reaches (the last ring at it). Computed with
// correctly rounded operations only, so that every machine and compiler
// finds the same places. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_CALLOUTRINGS_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_CALLOUTRINGS_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Segments.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

class CalloutRings {
public:
    // At most this many rings, and places on a ring.
    static constexpr std::size_t s_maxRings = 7;
    static constexpr std::size_t s_maxPerRing = 32;

    // The rings of a body whose bounds relative to its origin are body, up
    // to distance from the anchor. None for a body that is not finite.
    CalloutRings(const LabelRect& body, float distance);

    std::size_t getRingCount() const { return m_ringCount; }
    std::size_t getPlaceCount(std::size_t ring) const { return m_places[ring]; }
    // How far place k of a ring moves the body's origin from the anchor.
    void getShift(std::size_t ring, std::size_t k, float& dx, float& dy) const;

    // The option's distance: none (0) for a negative, NaN or zero one, at
    // most the viewport's diagonal.
    static float resolveDistance(float distance, const LabelRect& viewport, bool viewportValid);
    // Whether a body with these bounds stands away from the anchor (x, y)
    // (does not hold it), by at most distance, decided exactly for finite
    // floats: the point of the bounds nearest the anchor is another point,
    // within distance of it. Every place tried is tested, so it is defined
    // here.
    static bool standsAway(const LabelRect& body, float x, float y, float distance) {
        const float nearestX = std::min(std::max(x, body.left), body.right);
        const float nearestY = std::min(std::max(y, body.top), body.bottom);
        return (nearestX != x || nearestY != y) && pointNearEnd(nearestX, nearestY, x, y, distance);
    }

    // The reference point naming the side of the anchor (x, y) a body with
    // these bounds lies on: TopLeft, TopCenter or TopRight wholly above it,
    // the Bottom ones wholly below it, else LeftCenter or RightCenter.
    static LabelBackground::ReferencePoint sideOfBody(const LabelRect& body, float x, float y);

    // The point of the closed outline of count points nearest (x, y).
    static void findNearestPoint(const Vector<float, 3>* outline, std::uint32_t count, double x,
                                 double y, float& nearestX, float& nearestY);

private:
    double m_halfWidth = 0.0;
    double m_halfHeight = 0.0;
    double m_centreX = 0.0;
    double m_centreY = 0.0;
    std::size_t m_ringCount = 0;
    std::array<double, s_maxRings> m_distances{};
    std::array<double, s_maxRings> m_lengths{};
    std::array<std::size_t, s_maxRings> m_places{};
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_CALLOUTRINGS_H
