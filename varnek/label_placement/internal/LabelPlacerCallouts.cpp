#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include <varnek/label_placement/internal/FirstOverlap.h>
#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Segments.h>

namespace Varnek {
namespace {

// The places a label may test against the labels, leaders and anchors
// round it (the costly part), a move off a label counting as one; the
// places that leave the distance, the view or what is kept out cost
// little, and there are at most CalloutRings' rings of them.
constexpr int s_triesPerLabel = 96;

// How often a place whose body meets a label is moved off it and tried
// again, and by how much more than it takes: this share of the largest
// coordinate involved, 8 to 16 units in its last place.
constexpr int s_movesPerPlace = 2;
constexpr float s_moveSlack = 1.0f / 1048576.0f;

// At most about this many corners of the outline a leader may end at
// besides its nearest point.
constexpr std::uint32_t s_leaderEnds = 8;

// Listings a leader is given room for in the leaders' grid.
constexpr std::size_t s_leaderCellsReserved = 36;

// A leader keeps this share of the body's smaller side off other anchors
// (and at least half the gap).
constexpr float s_leaderClearanceShare = 1.0f / 64.0f;

// A search whose neighbourhood holds more anchors than this (points, in
// its cells) tests bodies and leaders through the anchors' grid, which
// reads only the cells each touches, instead of gathering them all first.
constexpr std::size_t s_nearAnchorsGathered = 64;

bool liesInside(const LabelRect& r, const LabelRect& area) {
    return r.left >= area.left && r.right <= area.right && r.top >= area.top &&
           r.bottom <= area.bottom;
}

// The least move along one axis that takes rect off blocker, and a slack
// more so that the roundings of placing the moved body leave the two
// touching at most. Those roundings (the move, the shift plus the move,
// the anchor plus the shift, the body's and the gap's sides) are each
// within half a unit in the last place of a value at most a few times the
// largest coordinate involved: largest (the anchor's and the shift's
// magnitudes) or one of the two rectangles'. The slack is a share of that
// coordinate, never a length in view units, so that a scene in any units
// moves alike (a scene scaled by a power of two, exactly scaled).
void findLeastMove(const LabelRect& rect, const LabelRect& blocker, float largest, float& moveX,
                   float& moveY) {
    const float moves[4] = {blocker.left - rect.right, blocker.right - rect.left,
                            blocker.top - rect.bottom, blocker.bottom - rect.top};
    std::size_t least = 0;
    for (std::size_t m = 1; m < 4; ++m) {
        least = std::fabs(moves[m]) < std::fabs(moves[least]) ? m : least;
    }
    for (const float v : {rect.left, rect.top, rect.right, rect.bottom, blocker.left, blocker.top,
                          blocker.right, blocker.bottom}) {
        largest = std::max(largest, std::fabs(v));
    }
    const float slack = s_moveSlack * largest;
    const float move = moves[least] + (moves[least] < 0.0f ? -slack : slack);
    moveX = least < 2 ? move : 0.0f;
    moveY = least < 2 ? 0.0f : move;
}

// The leader's box, widened to the neighbouring floats along an axis it
// has no extent on: a box without extent has no interior, yet the leader
// along it passes through the rooms it crosses.
LabelRect openBoxOf(const internal::Segment& leader) {
    LabelRect box = internal::boxOf(leader);
    const float infinity = std::numeric_limits<float>::infinity();
    if (!(box.left < box.right)) {
        box.left = std::nextafter(box.left, -infinity);
        box.right = std::nextafter(box.right, infinity);
    }
    if (!(box.top < box.bottom)) {
        box.top = std::nextafter(box.top, -infinity);
        box.bottom = std::nextafter(box.bottom, infinity);
    }
    return box;
}

}  // namespace

void LabelPlacer::Impl::placeCallouts() {
    m_callouts.clear();
    m_leaders.clear();
    m_calloutDistance = internal::CalloutRings::resolveDistance(
        m_options.calloutDistance, m_options.viewport, m_viewportValid);
    if (m_calloutDistance == 0.0f) {
        m_calloutOfLabel.clear();
        m_calloutShifts.clear();
        return;
    }
    const std::size_t count = m_labels.size();
    // Room for every request of the call, not only those the placement
    // takes (in the 3D call their number changes from frame to frame).
    const std::size_t room = std::max(count, m_sceneResult.size());
    m_calloutOfLabel.reserve(room);
    m_calloutOfLabel.assign(count, s_noCallout);
    const float none = std::numeric_limits<float>::quiet_NaN();
    m_nextCalloutShifts.reserve(room);
    m_nextCalloutShifts.assign(count, CalloutShift{none, none});
    m_callouts.reserve(room);
    m_leaders.reserve(room);
    // A leader reaches at most the distance and a body's size from its
    // anchor; its listings are bounded by the cells such a box touches
    // (counted up to a few dozen a leader: longer leaders may grow them).
    const std::size_t cellsPerLeader = std::min<std::size_t>(
        s_leaderCellsReserved, m_visibleLayout.getMaximalCellsTouched(m_calloutDistance + m_reach,
                                                                      m_calloutDistance + m_reach));
    m_leaderGrid.reset(m_visibleLayout, room, room * cellsPerLeader);
    listFadingLeaders(room, cellsPerLeader);
    m_nearRects.reserve(room);
    m_nearLefts.reserve(room + internal::s_overlapBlock);
    m_nearTops.reserve(room + internal::s_overlapBlock);
    m_nearRights.reserve(room + internal::s_overlapBlock);
    m_nearBottoms.reserve(room + internal::s_overlapBlock);
    m_nearAnchors.reserve(room);
    m_nearBodyAnchorXs.reserve(room);
    m_nearBodyAnchorYs.reserve(room);
    m_nearLeaders.reserve(room);
    m_ringShifts.reserve(internal::CalloutRings::s_maxRings * internal::CalloutRings::s_maxPerRing);
    // Shape indices are the frame's own.
    m_ringShape = s_noCallout;

    // Priority by priority, in the greedy order: first every callout of the
    // previous call at its place relative to its anchor, while that is free,
    // then the search for the others, so that a label searching does not
    // take the place another one keeps.
    const LabelRect& viewport = m_options.viewport;
    const auto waits = [&](LabelIndex label) {
        const LabelState& state = m_labels[label];
        return state.status == Status::Placeable && state.chosen == s_hidden &&
               state.x >= viewport.left && state.x <= viewport.right && state.y >= viewport.top &&
               state.y <= viewport.bottom && !isCallout(label);
    };
    for (LabelIndex first = 0, end = 0; first < m_placeable; first = end) {
        end = first + 1;
        while (end < m_placeable && m_labels[end].priority == m_labels[first].priority) {
            ++end;
        }
        for (const bool previousOnly : {true, false}) {
            for (LabelIndex label = first; label < end; ++label) {
                if (waits(label)) {
                    searchCallout(label, previousOnly);
                }
            }
        }
    }
    for (const Callout& callout : m_callouts) {
        m_nextCalloutShifts[m_requestOf[callout.label]] = {callout.dx, callout.dy};
    }
    m_calloutShifts.swap(m_nextCalloutShifts);
}

bool LabelPlacer::Impl::searchCallout(LabelIndex label, bool previousOnly) {
    const float d = m_calloutDistance;
    const LabelState& state = m_labels[label];
    const LabelRect& body = m_shapes.getBody(state.shape).bounds;
    const float width = body.right - body.left;
    const float height = body.bottom - body.top;
    if (!(width >= 0.0f && height >= 0.0f) || !std::isfinite(width) || !std::isfinite(height)) {
        return false;
    }
    const internal::ShapeCache::OutlineRange outline = m_shapes.findBodyOutline(state.shape);
    const Vector<float, 3>* points = m_shapes.getOutlinePoints() + outline.first;
    const float clearance = getLeaderClearance(body);
    // Every leader starts at the anchor: another anchor within the clearance
    // of it is within the clearance of each one, wherever the body stands.
    // Asked once, not at each place, so that many labels crowding one point
    // cost no more than a few.
    if (gridHoldsAnchorNear(label, {state.x, state.y, state.x, state.y}, clearance)) {
        return false;
    }
    int tries = s_triesPerLabel;
    if (previousOnly) {
        // Where it stood in the previous call (by key, as the history goes):
        // only what its body and leader reach is read.
        const RequestIndex request = m_requestOf[label];
        const std::uint64_t key = m_lastKeys[request];
        const std::uint32_t before =
            m_currentKeys.find(key) == request ? m_previousKeys.find(key) : s_noCallout;
        if (before >= m_calloutShifts.size() || std::isnan(m_calloutShifts[before].dx)) {
            return false;
        }
        const CalloutShift shift = m_calloutShifts[before];
        const float x = state.x + shift.dx;
        const float y = state.y + shift.dy;
        const LabelRect reach{std::min(state.x, x + body.left), std::min(state.y, y + body.top),
                              std::max(state.x, x + body.right),
                              std::max(state.y, y + body.bottom)};
        gatherNearCallout(label, grow(reach), clearance);
        float moveX = 0.0f;
        float moveY = 0.0f;
        return tryCallout(label, shift.dx, shift.dy, points, outline.count, clearance, false, tries,
                          moveX, moveY);
    }
    // Every place lies within the body's size and the distance of the
    // anchor.
    const LabelRect area{state.x - width - d, state.y - height - d, state.x + width + d,
                         state.y + height + d};
    gatherNearCallout(label, grow(area), clearance);
    bool shown = false;
    // A place whose body meets one label (or leaves the view) is moved
    // the least way off it, and tried again, a few times: bodies then
    // pack against the labels round them as tightly as labels do. The
    // places of the rings, in order, are kept for the next label of the
    // same shape.
    if (state.shape != m_ringShape) {
        const internal::CalloutRings rings(body, d);
        m_ringShifts.clear();
        for (std::size_t ring = 0; ring < rings.getRingCount(); ++ring) {
            for (std::size_t k = 0; k < rings.getPlaceCount(ring); ++k) {
                CalloutShift shift{0.0f, 0.0f};
                rings.getShift(ring, k, shift.dx, shift.dy);
                m_ringShifts.push_back(shift);
            }
        }
        m_ringShape = state.shape;
    }
    for (std::size_t place = 0; !shown && place < m_ringShifts.size() && tries > 0; ++place) {
        float dx = m_ringShifts[place].dx;
        float dy = m_ringShifts[place].dy;
        for (int move = 0; !shown && move <= s_movesPerPlace && tries > 0; ++move) {
            float moveX = 0.0f;
            float moveY = 0.0f;
            shown = tryCallout(label, dx, dy, points, outline.count, clearance,
                               move < s_movesPerPlace, tries, moveX, moveY);
            if (moveX == 0.0f && moveY == 0.0f) {
                break;
            }
            dx += moveX;
            dy += moveY;
        }
    }
    return shown;
}

void LabelPlacer::Impl::gatherNearCallout(LabelIndex label, const LabelRect& area,
                                          float clearance) {
    m_nearRects.clear();
    m_nearLefts.clear();
    m_nearTops.clear();
    m_nearRights.clear();
    m_nearBottoms.clear();
    m_visible.forEachInCells(area, [&](const internal::VisibleLabelGrid::Entry& entry, bool first) {
        if (first && internal::overlaps(entry.rect, area)) {
            m_nearRects.push_back(entry.rect);
            m_nearLefts.push_back(entry.rect.left);
            m_nearTops.push_back(entry.rect.top);
            m_nearRights.push_back(entry.rect.right);
            m_nearBottoms.push_back(entry.rect.bottom);
        }
    });
    const float none = std::numeric_limits<float>::quiet_NaN();
    while (m_nearLefts.size() % internal::s_overlapBlock != 0) {
        m_nearLefts.push_back(none);
        m_nearTops.push_back(none);
        m_nearRights.push_back(none);
        m_nearBottoms.push_back(none);
    }
    m_nearAnchors.clear();
    m_nearBodyAnchorXs.clear();
    m_nearBodyAnchorYs.clear();
    const LabelRect anchorArea{area.left - clearance, area.top - clearance, area.right + clearance,
                               area.bottom + clearance};
    m_nearAnchorsCrowd = m_anchors.countPointsNear(anchorArea) > s_nearAnchorsGathered;
    if (!m_nearAnchorsCrowd) {
        const float priority = m_labels[label].priority;
        m_anchors.forEachIn(anchorArea, [&](std::uint32_t other) {
            if (other == label) {
                return;
            }
            m_nearAnchors.push_back({m_anchorX[other], m_anchorY[other]});
            if (keepsCalloutBodiesOff(other, priority)) {
                m_nearBodyAnchorXs.push_back(m_anchorX[other]);
                m_nearBodyAnchorYs.push_back(m_anchorY[other]);
            }
        });
    }
    m_nearLeaders.clear();
    m_leaderGrid.forEachNear(area, [&](std::size_t, const internal::Segment& leader) {
        m_nearLeaders.push_back(leader);
    });
    // The leaders of callouts fading out, but its own.
    if (m_fadingLeaderGrid.size() != 0) {
        const std::uint32_t self = requestOfLabel(label);
        m_fadingLeaderGrid.forEachNear(area,
                                       [&](std::size_t index, const internal::Segment& leader) {
                                           if (m_fadingLeaderRequests[index] != self) {
                                               m_nearLeaders.push_back(leader);
                                           }
                                       });
    }
}

bool LabelPlacer::Impl::tryCallout(LabelIndex label, float dx, float dy,
                                   const Vector<float, 3>* outline, std::uint32_t count,
                                   float clearance, bool movesOn, int& tries, float& moveX,
                                   float& moveY) {
    const LabelState& state = m_labels[label];
    const float x = state.x;
    const float y = state.y;
    const LabelRect& body = m_shapes.getBody(state.shape).bounds;
    const float ox = x + dx;
    const float oy = y + dy;
    const LabelRect bounds{ox + body.left, oy + body.top, ox + body.right, oy + body.bottom};
    if (!internal::CalloutRings::standsAway(bounds, x, y, m_calloutDistance)) {
        return false;
    }
    const LabelRect& view = m_options.viewport;
    if (!liesInside(bounds, view)) {
        moveX = bounds.left < view.left
                    ? view.left - bounds.left
                    : (bounds.right > view.right ? view.right - bounds.right : 0.0f);
        moveY = bounds.top < view.top
                    ? view.top - bounds.top
                    : (bounds.bottom > view.bottom ? view.bottom - bounds.bottom : 0.0f);
        return false;
    }
    const std::uint32_t self =
        m_keepOut.hasRooms() ? requestOfLabel(label) : internal::KeyTable::s_absent;
    if (!m_keepOut.isEmpty() &&
        (m_keepOut.blocksRect(bounds) || m_keepOut.blocksForOthersRooms(bounds, self))) {
        return false;
    }
    --tries;
    const LabelRect grown = grow(bounds);
    // The first label met, in order, is the one the body moves off (when
    // it may move again).
    if (!movesOn) {
        if (internal::overlapsAny(m_nearLefts.data(), m_nearTops.data(), m_nearRights.data(),
                                  m_nearBottoms.data(), m_nearLefts.size(), grown)) {
            return false;
        }
    } else {
        const std::size_t first =
            internal::findFirstOverlap(m_nearLefts.data(), m_nearTops.data(), m_nearRights.data(),
                                       m_nearBottoms.data(), m_nearLefts.size(), grown);
        if (first < m_nearLefts.size()) {
            findLeastMove(grown, m_nearRects[first],
                          std::max({std::fabs(x), std::fabs(y), std::fabs(dx), std::fabs(dy)}),
                          moveX, moveY);
            return false;
        }
    }
    return placeCalloutIfFree(label, dx, dy, bounds, outline, count, clearance);
}

bool LabelPlacer::Impl::holdsAnchor(LabelIndex label, const LabelRect& bounds) const {
    if (m_nearAnchorsCrowd) {
        // Every body lies within the neighbourhood: the same anchors.
        const float priority = m_labels[label].priority;
        return m_anchors.anyInside(bounds, [&](std::uint32_t other) {
            return other != label && keepsCalloutBodiesOff(other, priority);
        });
    }
    const std::size_t anchors = m_nearBodyAnchorXs.size();
    bool holds = false;
    for (std::size_t k = 0; k < anchors; ++k) {
        const float ax = m_nearBodyAnchorXs[k];
        const float ay = m_nearBodyAnchorYs[k];
        holds |=
            (bounds.left < ax) & (ax < bounds.right) & (bounds.top < ay) & (ay < bounds.bottom);
    }
    return holds;
}

bool LabelPlacer::Impl::gridHoldsAnchorNear(LabelIndex label, const internal::Segment& leader,
                                            float clearance) const {
    // The anchors within the clearance of the leader lie in its box grown by
    // the clearance (rounding keeps every float within it).
    const LabelRect box = internal::boxOf(leader);
    bool near = false;
    m_anchors.forEachPointNear(
        {box.left - clearance, box.top - clearance, box.right + clearance, box.bottom + clearance},
        [&](float x, float y, std::uint32_t point) {
            near = point != label && internal::pointNearSegment(leader, x, y, clearance);
            return near;
        });
    return near;
}

bool LabelPlacer::Impl::holdsAnchorNear(LabelIndex label, const internal::Segment& leader,
                                        float clearance) const {
    if (m_nearAnchorsCrowd) {
        return gridHoldsAnchorNear(label, leader, clearance);
    }
    for (const NearAnchor& anchor : m_nearAnchors) {
        if (internal::pointNearSegment(leader, anchor.x, anchor.y, clearance)) {
            return true;
        }
    }
    return false;
}

bool LabelPlacer::Impl::placeCalloutIfFree(LabelIndex label, float dx, float dy,
                                           const LabelRect& bounds, const Vector<float, 3>* outline,
                                           std::uint32_t count, float clearance) {
    if (holdsAnchor(label, bounds)) {
        return false;
    }
    const LabelRect grown = grow(bounds);
    for (const internal::Segment& other : m_nearLeaders) {
        if (internal::segmentEntersRect(other, grown)) {
            return false;
        }
    }
    const LabelState& state = m_labels[label];
    const float x = state.x;
    const float y = state.y;
    const float ox = x + dx;
    const float oy = y + dy;
    // The leader ends at the point of the outline nearest the anchor or,
    // where that way is taken, at a corner of the outline the anchor sees.
    float endX = 0.0f;
    float endY = 0.0f;
    internal::CalloutRings::findNearestPoint(outline, count, static_cast<double>(x) - ox,
                                             static_cast<double>(y) - oy, endX, endY);
    internal::Segment leader{x, y, ox + endX, oy + endY};
    bool free = isLeaderFree(label, leader, clearance);
    const std::uint32_t stride = std::max<std::uint32_t>(1, count / s_leaderEnds);
    for (std::uint32_t p = 0; !free && p < count; p += stride) {
        const Vector<float, 3>& before = outline[p > 0 ? p - 1 : count - 1];
        const Vector<float, 3>& corner = outline[p];
        const Vector<float, 3>& after = outline[p + 1 < count ? p + 1 : 0];
        // Seen from the anchor relative to the body's origin, unrounded.
        if (!internal::seesCorner(before[0], before[1], corner[0], corner[1], after[0], after[1], x,
                                  y, ox, oy)) {
            continue;
        }
        endX = corner[0];
        endY = corner[1];
        leader = {x, y, ox + endX, oy + endY};
        free = isLeaderFree(label, leader, clearance);
    }
    if (!free) {
        return false;
    }
    if (m_keepOut.hasRooms() &&
        m_keepOut.blocksForOthersRooms(openBoxOf(leader), requestOfLabel(label))) {
        return false;
    }
    m_calloutOfLabel[label] = static_cast<std::uint32_t>(m_callouts.size());
    m_callouts.push_back({label, dx, dy, bounds, leader, endX, endY});
    m_visible.insert(label, grown);
    m_leaderGrid.insert(leader);
    return true;
}

float LabelPlacer::Impl::getLeaderClearance(const LabelRect& body) const {
    return std::max(m_halfGap, s_leaderClearanceShare *
                                   std::min(body.right - body.left, body.bottom - body.top));
}

bool LabelPlacer::Impl::calloutClearsAnchors(LabelIndex label, const LabelRect& bounds,
                                             const internal::Segment& leader) const {
    const float clearance = getLeaderClearance(m_shapes.getBody(m_labels[label].shape).bounds);
    const LabelRect area{std::min({bounds.left, leader.x0, leader.x1}) - clearance,
                         std::min({bounds.top, leader.y0, leader.y1}) - clearance,
                         std::max({bounds.right, leader.x0, leader.x1}) + clearance,
                         std::max({bounds.bottom, leader.y0, leader.y1}) + clearance};
    const float priority = m_labels[label].priority;
    bool clear = true;
    m_anchors.forEachIn(area, [&](std::uint32_t other) {
        if (other == label || !clear) {
            return;
        }
        const float ax = m_anchorX[other];
        const float ay = m_anchorY[other];
        const bool held =
            bounds.left < ax && ax < bounds.right && bounds.top < ay && ay < bounds.bottom;
        clear = !(held && keepsCalloutBodiesOff(other, priority)) &&
                !internal::pointNearSegment(leader, ax, ay, clearance);
    });
    return clear;
}

bool LabelPlacer::Impl::isLeaderFree(LabelIndex label, const internal::Segment& leader,
                                     float clearance) const {
    for (const LabelRect& rect : m_nearRects) {
        if (internal::segmentEntersRect(leader, rect)) {
            return false;
        }
    }
    if (holdsAnchorNear(label, leader, clearance)) {
        return false;
    }
    for (const internal::Segment& other : m_nearLeaders) {
        if (internal::segmentsMeet(leader, other)) {
            return false;
        }
    }
    return true;
}

void LabelPlacer::Impl::writeCallout(const LabelRequest& labelRequest, std::uint32_t index,
                                     PlacedLabel& placed, std::size_t& outlinePoints) {
    const Callout& callout = m_callouts[index];
    const LabelState& state = m_labels[callout.label];
    const Vector<float, 3>& offset = m_shapes.getBody(state.shape).offset;
    placed.visible = true;
    placed.referencePoint = internal::CalloutRings::sideOfBody(callout.bounds, state.x, state.y);
    placed.offset = {offset[0] + callout.dx, offset[1] + callout.dy, offset[2]};
    placed.bounds = callout.bounds;
    placed.hiddenReason = LabelHiddenReason::None;
    placed.anchorInView = labelRequest.anchor;
    placed.opacity = 1.0f;
    placed.callout = true;
    const internal::ShapeCache::OutlineRange outline = m_shapes.findBodyOutline(state.shape);
    m_outlineStarts.push_back(static_cast<std::uint32_t>(outlinePoints));
    m_outlineLabels.push_back({state.x + callout.dx, state.y + callout.dy, outline});
    outlinePoints += outline.count;
    m_leaders.push_back(callout.leader);
}

bool LabelPlacer::Impl::leaderEntersRect(const LabelRect& rect, std::uint32_t self,
                                         bool drawnInPlaceOnly) const {
    bool enters = false;
    m_leaderGrid.forEachNear(rect, [&](std::size_t index, const internal::Segment& leader) {
        const LabelIndex label = m_callouts[index].label;
        enters = enters ||
                 (requestOfLabel(label) != self && (!drawnInPlaceOnly || isDrawnInPlace(label)) &&
                  internal::segmentEntersRect(leader, rect));
    });
    return enters;
}

void LabelPlacer::Impl::holdCalloutsCrossing(const LabelRect& rect) {
    if (m_callouts.empty()) {
        return;
    }
    m_leaderGrid.forEachNear(rect, [&](std::size_t index, const internal::Segment& leader) {
        if (internal::segmentEntersRect(leader, rect)) {
            m_held[m_requestOf[m_callouts[index].label]] = 1;
        }
    });
}

void LabelPlacer::Impl::appendLeaders(std::vector<Vector<float, 3>>& points) const {
    // While fading, the leaders of the callouts drawn, fading ones included.
    const std::vector<internal::Segment>& leaders = m_fading ? m_fadeLeaders : m_leaders;
    const std::size_t room = points.size() + 2 * leaders.size();
    if (points.capacity() < room) {
        points.reserve(std::max(room, points.capacity() + points.capacity() / 2));
    }
    for (const internal::Segment& leader : leaders) {
        points.push_back({leader.x0, leader.y0, 0.0f});
        points.push_back({leader.x1, leader.y1, 0.0f});
    }
}

}  // namespace Varnek
