#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Segments.h>

namespace Varnek {

// A callout fading out stays where its body stood relative to its anchor,
// with its leader. Its body keeps its room as a label fading out does; its
// leader is kept apart from the placement's rectangles: the callouts placed
// keep off the leaders known before the placement (as off any leader), the
// labels placed beside their anchors that a fading leader enters are held
// back afterwards, and a label drawn in place that it enters cuts it off.

bool LabelPlacer::Impl::findFadingCallout(const LabelRequest& request, std::uint32_t callout,
                                          float x, float y, LabelRect& bounds,
                                          internal::Segment& leader) {
    const DrawnCallout& place = m_drawnCallouts[callout];
    // A body of another size or background: the leader's end is not on it.
    if (&backgroundOf(request) != place.background ||
        !internal::sameBits(request.size, place.size)) {
        return false;
    }
    const std::uint32_t shape = m_shapes.find(backgroundOf(request), request.size);
    const LabelRect& body = m_shapes.getBody(shape).bounds;
    // As the callout was placed: its body moved from the anchor, its leader
    // to the same point of the body.
    const float ox = x + place.dx;
    const float oy = y + place.dy;
    bounds = {ox + body.left, oy + body.top, ox + body.right, oy + body.bottom};
    leader = {x, y, ox + place.endX, oy + place.endY};
    const float distance = internal::CalloutRings::resolveDistance(
        m_options.calloutDistance, m_options.viewport, m_viewportValid);
    return std::isfinite(leader.x1) && std::isfinite(leader.y1) &&
           internal::CalloutRings::standsAway(bounds, x, y, distance);
}

namespace {

// The cells along each axis of the grid of fading rooms: fixed, so that
// however many labels fade at once (a camera turning a whole view away),
// a room reads only the rooms near it.
constexpr std::uint32_t s_fadingRoomCellsPerAxis = 64;
// The listings reserved per room: a label's room touches a few cells.
constexpr std::size_t s_fadingRoomListings = 8;

// What a room and its leader (null: none) may meet: the room grown by half
// the gap, with the leader's box.
LabelRect reachOf(const LabelRect& grown, const internal::Segment* leader) {
    if (leader == nullptr) {
        return grown;
    }
    const LabelRect box = internal::boxOf(*leader);
    return {std::min(grown.left, box.left), std::min(grown.top, box.top),
            std::max(grown.right, box.right), std::max(grown.bottom, box.bottom)};
}

}  // namespace

bool LabelPlacer::Impl::meetsFadingLabels(const LabelRect& grown,
                                          const internal::Segment* leader) const {
    // Two rooms that meet share a point of their reaches, so a cell.
    bool meets = false;
    m_fadingRoomGrid.forEachNear(reachOf(grown, leader), [&](std::size_t f) {
        const FadingLabel& other = m_fadingOut[f];
        const LabelRect otherGrown = grow(other.bounds);
        meets = meets || internal::overlaps(grown, otherGrown) ||
                (leader != nullptr && internal::segmentEntersRect(*leader, otherGrown)) ||
                (other.callout != s_notDrawn &&
                 (internal::segmentEntersRect(other.leader, grown) ||
                  (leader != nullptr && internal::segmentsMeet(*leader, other.leader))));
    });
    return meets;
}

void LabelPlacer::Impl::indexFadingRooms() {
    internal::UniformGrid layout;
    if (m_viewportValid) {
        const LabelRect& viewport = m_options.viewport;
        const auto cells = static_cast<float>(s_fadingRoomCellsPerAxis);
        layout.reset(viewport, (viewport.right - viewport.left) / cells,
                     (viewport.bottom - viewport.top) / cells,
                     std::size_t{s_fadingRoomCellsPerAxis} * s_fadingRoomCellsPerAxis,
                     s_fadingRoomCellsPerAxis);
    }
    // Room for every label of the frame, as m_fadingOut has.
    m_fadingRoomGrid.reset(layout, m_sceneResult.size(),
                           s_fadingRoomListings * m_sceneResult.size());
    for (const FadingLabel& fading : m_fadingOut) {
        listFadingRoom(fading);
    }
}

void LabelPlacer::Impl::listFadingRoom(const FadingLabel& fading) {
    m_fadingRoomGrid.insert(
        reachOf(grow(fading.bounds), fading.callout != s_notDrawn ? &fading.leader : nullptr));
}

bool LabelPlacer::Impl::isFadingLeaderTaken(const internal::Segment& leader,
                                            std::uint32_t self) const {
    const LabelRect box = internal::boxOf(leader);
    bool taken = false;
    m_visible.forEachListingInCells(box, [&](const internal::VisibleLabelGrid::Entry& entry) {
        taken = taken || (requestOfLabel(entry.label) != self && isDrawnInPlace(entry.label) &&
                          internal::segmentEntersRect(leader, entry.rect));
    });
    if (!taken && !m_callouts.empty()) {
        m_leaderGrid.forEachNear(box, [&](std::size_t index, const internal::Segment& other) {
            const LabelIndex label = m_callouts[index].label;
            taken = taken || (requestOfLabel(label) != self && isDrawnInPlace(label) &&
                              internal::segmentsMeet(leader, other));
        });
    }
    return taken;
}

void LabelPlacer::Impl::holdLabelsCrossing(const internal::Segment& leader, std::uint32_t self) {
    const LabelRect box = internal::boxOf(leader);
    m_visible.forEachListingInCells(box, [&](const internal::VisibleLabelGrid::Entry& entry) {
        if (requestOfLabel(entry.label) != self &&
            internal::segmentEntersRect(leader, entry.rect)) {
            m_held[m_requestOf[entry.label]] = 1;
        }
    });
    if (!m_callouts.empty()) {
        m_leaderGrid.forEachNear(box, [&](std::size_t index, const internal::Segment& other) {
            const LabelIndex label = m_callouts[index].label;
            if (requestOfLabel(label) != self && internal::segmentsMeet(leader, other)) {
                m_held[m_requestOf[label]] = 1;
            }
        });
    }
}

void LabelPlacer::Impl::listFadingLeaders(std::size_t room, std::size_t cellsPerLeader) {
    m_fadingLeaderRequests.clear();
    // Only a call with fades has labels fading out. Room for every request:
    // how many fade differs from frame to frame.
    if (m_drawnPlaces) {
        m_fadingLeaderRequests.reserve(room);
        for (const FadingLabel& fading : m_fadingOut) {
            if (fading.callout != s_notDrawn) {
                m_fadingLeaderRequests.push_back(fading.request);
            }
        }
    }
    if (m_fadingLeaderRequests.empty() && m_fadingLeaderGrid.size() == 0) {
        return;
    }
    m_fadingLeaderGrid.reset(m_visibleLayout, room, room * cellsPerLeader);
    for (const FadingLabel& fading : m_fadingOut) {
        if (m_drawnPlaces && fading.callout != s_notDrawn) {
            m_fadingLeaderGrid.insert(fading.leader);
        }
    }
}

void LabelPlacer::Impl::writeFadingCallout(const LabelRequest& request, const FadingLabel& room,
                                           PlacedLabel& placed, OutlineLabel& outline) {
    const std::uint32_t shape = m_shapes.find(backgroundOf(request), request.size);
    const Vector<float, 3>& offset = m_shapes.getBody(shape).offset;
    const DrawnCallout& place = m_drawnCallouts[room.callout];
    const float x = placed.anchorInView[0];
    const float y = placed.anchorInView[1];
    placed.visible = true;
    placed.referencePoint = internal::CalloutRings::sideOfBody(room.bounds, x, y);
    placed.offset = {offset[0] + place.dx, offset[1] + place.dy, offset[2]};
    placed.bounds = room.bounds;
    placed.callout = true;
    outline = {x + place.dx, y + place.dy, m_shapes.findBodyOutline(shape)};
}

std::uint32_t LabelPlacer::Impl::noteDrawnCallout(const DrawnCallout& place,
                                                  const internal::Segment& leader) {
    m_nextDrawnCallouts.push_back(place);
    m_fadeLeaders.push_back(leader);
    return static_cast<std::uint32_t>(m_nextDrawnCallouts.size() - 1);
}

void LabelPlacer::Impl::keepFadingCalloutPlace(std::size_t inView, std::uint32_t drawnCallout) {
    // Beside its anchor it is new; as a callout it tries this place first.
    m_previousReferencePoints[inView] = s_hidden;
    if (inView < m_calloutShifts.size()) {
        m_calloutShifts[inView] = {m_drawnCallouts[drawnCallout].dx,
                                   m_drawnCallouts[drawnCallout].dy};
    }
}

}  // namespace Varnek
