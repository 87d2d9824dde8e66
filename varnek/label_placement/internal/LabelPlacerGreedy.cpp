#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {

using internal::withCandidateQuads;

void LabelPlacer::Impl::show(LabelIndex label, CandidateIndex candidate) {
    VARNEK_ASSERT(m_labels[label].chosen == s_hidden);
    VARNEK_ASSERT(candidate < m_candidates.size());
    if (m_journaling) {
        m_journal.push_back({label, s_hidden});
    }
    m_labels[label].chosen = static_cast<std::int16_t>(candidate);
    m_visible.insert(label, getGrownBounds(label, candidate));
    ++m_shown;
}

void LabelPlacer::Impl::hide(LabelIndex label) {
    const std::int16_t chosen = m_labels[label].chosen;
    if (chosen != s_hidden) {
        if (m_journaling) {
            m_journal.push_back({label, chosen});
            markMoved(label);
            addHidden(label);
        }
        m_visible.remove(label, getGrownBounds(label, static_cast<std::size_t>(chosen)));
        m_labels[label].chosen = s_hidden;
        --m_shown;
    }
}

bool LabelPlacer::Impl::isSettled(LabelIndex label) const {
    const LabelState& state = m_labels[label];
    return state.previous != s_hidden && state.chosen == state.previous;
}

namespace {

// How many anchors a search reads between looks at whether the rest can
// still change its outcome: often enough to stop early where anchors crowd,
// rarely enough to cost nothing where they do not.
constexpr std::uint32_t s_anchorsBetweenLooks = 16;
// Past this many anchors round a label, the greedy pass reads the visible
// labels first and the anchors only where those leave room.
constexpr std::uint32_t s_crowdedAnchors = 64;

}  // namespace

// Notes in lanes the anchors round the label that it may not cover, until
// stop() says the rest cannot change the outcome; whether it stopped.
template <typename Lanes, typename Stop>
bool LabelPlacer::Impl::noteObstacleAnchors(LabelIndex label, const LabelRect& area, Lanes& lanes,
                                            Stop&& stop) const {
    bool stopped = false;
    if (m_options.lowerPriorityAnchorsAreObstacles) {
        // A crowded cell is read while its points' bounds reach a candidate
        // not yet covered (anchors on a line on the candidates' edges
        // reach none).
        m_anchors.forEachPointNear(
            area, [&](const LabelRect& bounds) { return lanes.mayNoteAnchorIn(bounds); },
            [&](float x, float y, std::uint32_t point) {
                if (point != label) {
                    lanes.noteAnchor(x, y);
                }
                stopped = stop();
                return stopped;
            });
        return stopped;
    }
    // Only anchors of at least the label's priority: one by one.
    const float priority = m_labels[label].priority;
    m_anchors.forEachIn(area, [&](std::uint32_t other) {
        if (other != label && blocksAnchorsOfPriority(other, priority)) {
            lanes.noteAnchor(m_anchorX[other], m_anchorY[other]);
        }
    });
    return false;
}

// Inside the viewport and clear of the kept-out areas.
template <typename Lanes>
std::uint32_t LabelPlacer::Impl::findPlacesInView(LabelIndex label, const Lanes& lanes) const {
    const LabelState& state = m_labels[label];
    const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
    std::uint32_t inView = lanes.getInsideMask(m_options.viewport) & rects.getLaneMask();
    if (!m_keepOut.isEmpty()) {
        const LabelRect span = getSpanArea(label);
        inView &= ~m_keepOut.getBlockedLanes(rects, state.x, state.y, span);
        // The rooms of labels fading out hold off every label but their own
        // and those drawn in the previous call where they were placed, as a
        // visible label does: tested in the label's lanes.
        if (m_keepOut.hasRooms() && m_keepOut.mayReachRoom(state.x, state.y) &&
            !isDrawnInPlace(label)) {
            m_keepOut.forEachRoomNear(span, requestOfLabel(label), [&](const LabelRect& room) {
                inView &= ~lanes.getOverlapMask(room);
            });
        }
    }
    return inView;
}

std::uint32_t LabelPlacer::Impl::findFreeLanes(LabelIndex label) {
    LabelState& state = m_labels[label];
    const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
    return withCandidateQuads(rects.getQuadCount(), [&](auto quads) {
        // Every candidate lies in the shape's span round the anchor: each
        // anchor and visible label there is read once and tested against
        // all candidates together.
        internal::CandidateLanes<decltype(quads)::value> lanes(state.x, state.y, rects, m_halfGap);
        const LabelRect area = getSpanArea(label);
        std::uint32_t read = 0;
        const bool crowded =
            m_options.anchorsAreObstacles &&
            noteObstacleAnchors(label, area, lanes, [&] { return ++read > s_crowdedAnchors; });
        const std::uint32_t inView = findPlacesInView(label, lanes);
        std::uint32_t allowed = inView & ~lanes.getCoveringMask();
        if (allowed == 0) {
            state.allowedLanes = 0;
            return allowed;
        }
        m_visible.forEachListingInCells(grow(area),
                                        [&](const internal::VisibleLabelGrid::Entry& entry) {
                                            if (entry.label != label) {
                                                lanes.noteLabel(entry.rect);
                                            }
                                        });
        const std::uint32_t freeOfLabels = inView & ~lanes.getOverlappingMask();
        if (crowded) {
            // The rest of crowded anchors matter only where no visible label
            // is in the way; where every such place turns out covered, which
            // anchors cover the others is left for when it is needed.
            read = 0;
            const bool stopped =
                (allowed & freeOfLabels) == 0 || noteObstacleAnchors(label, area, lanes, [&] {
                    return ++read % s_anchorsBetweenLooks == 0 &&
                           (freeOfLabels & ~lanes.getCoveringMask()) == 0;
                });
            if (stopped) {
                state.allowedLanes = s_allowedLanesUnknown;
                return std::uint32_t{0};
            }
            allowed = inView & ~lanes.getCoveringMask();
        }
        state.allowedLanes = static_cast<std::uint16_t>(allowed);
        return allowed & freeOfLabels;
    });
}

std::uint32_t LabelPlacer::Impl::findAllowedLanes(LabelIndex label) {
    LabelState& state = m_labels[label];
    const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
    const std::uint32_t allowed = withCandidateQuads(rects.getQuadCount(), [&](auto quads) {
        internal::CandidateLanes<decltype(quads)::value> lanes(state.x, state.y, rects, m_halfGap);
        const std::uint32_t inView = findPlacesInView(label, lanes);
        std::uint32_t read = 0;
        noteObstacleAnchors(label, getSpanArea(label), lanes, [&] {
            return ++read % s_anchorsBetweenLooks == 0 && (inView & ~lanes.getCoveringMask()) == 0;
        });
        return inView & ~lanes.getCoveringMask();
    });
    state.allowedLanes = static_cast<std::uint16_t>(allowed);
    return allowed;
}

void LabelPlacer::Impl::placeGreedily() {
    m_anySteppedBack = false;
    m_shown = 0;
    for (std::size_t next = 0; next < m_placeable; ++next) {
        const auto label = static_cast<std::uint32_t>(next);
        const std::uint32_t free = findFreeLanes(label);
        // The place shown in the previous call first, then the candidates in
        // order of preference.
        LabelState& state = m_labels[label];
        const std::int16_t previous = state.previous;
        if (previous != s_hidden) {
            const LaneIndex lane =
                m_shapes.getCandidate(state.shape, static_cast<std::size_t>(previous)).lane;
            if ((free >> lane & 1u) != 0) {
                show(label, static_cast<std::size_t>(previous));
                continue;
            }
            // Its place was taken by a label that kept its own (the camera
            // moved them together). Jumping to another side is what a
            // viewer notices most; it hides for this call instead and comes
            // back as a new label in the next. Only where no label of lower
            // priority could take the room it leaves.
            if (state.priority == m_lowestPriority) {
                state.status = Status::SteppedBack;
                m_anySteppedBack = true;
                continue;
            }
        }
        // Lanes are in order of their first candidates.
        if (free != 0) {
            const auto lane = static_cast<std::size_t>(internal::countTrailingZeros(free));
            show(label, m_shapes.getCandidateRects(state.shape).firstCandidateOfLane[lane]);
        }
    }
}

}  // namespace Varnek
