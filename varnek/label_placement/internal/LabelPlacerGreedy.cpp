#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <varnek/label_placement/internal/PlacementPrimitives.h>

namespace Varnek {

using internal::withCandidateQuads;

void LabelPlacer::Impl::show(std::uint32_t label, std::size_t candidate) {
    m_labels[label].chosen = static_cast<std::int16_t>(candidate);
    m_visible.insert(label, getGrownBounds(label, candidate));
}

void LabelPlacer::Impl::hide(std::uint32_t label) {
    const std::int16_t chosen = m_labels[label].chosen;
    if (chosen != s_hidden) {
        m_visible.remove(label, getGrownBounds(label, static_cast<std::size_t>(chosen)));
        m_labels[label].chosen = s_hidden;
    }
}

bool LabelPlacer::Impl::isSettled(std::uint32_t label) const {
    const LabelState& state = m_labels[label];
    return state.previous != s_hidden && state.chosen == state.previous;
}

std::uint32_t LabelPlacer::Impl::findFreeLanes(std::uint32_t label) {
    LabelState& state = m_labels[label];
    const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
    return withCandidateQuads(rects.getQuadCount(), [&](auto quads) {
        // Every candidate lies in the shape's span round the anchor: each
        // anchor and visible label there is read once and tested against
        // all candidates together.
        internal::CandidateLanes<decltype(quads)::value> lanes(state.x, state.y, rects, m_halfGap);
        const LabelRect area = getSpanArea(label);
        if (m_options.anchorsAreObstacles && m_options.lowerPriorityAnchorsAreObstacles) {
            m_anchors.forEachPointNear(area,
                                       [&](float x, float y, std::uint32_t first, bool shared) {
                                           if (shared || first != label) {
                                               lanes.noteAnchor(x, y);
                                           }
                                       });
        } else if (m_options.anchorsAreObstacles) {
            // Only anchors of at least the label's priority: one by one.
            m_anchors.forEachIn(area, [&](std::uint32_t other) {
                if (other != label && blocksAnchorsOfPriority(other, state.priority)) {
                    lanes.noteAnchor(m_anchorX[other], m_anchorY[other]);
                }
            });
        }
        std::uint32_t allowed = lanes.getInsideMask(m_options.viewport) & ~lanes.getCoveringMask() &
                                rects.getLaneMask();
        if (!m_keepOut.isEmpty()) {
            allowed &= ~m_keepOut.getBlockedLanes(rects, state.x, state.y);
        }
        state.allowedLanes = static_cast<std::uint16_t>(allowed);
        if (allowed == 0) {
            return allowed;
        }
        m_visible.forEachListingInCells(grow(area),
                                        [&](const internal::VisibleLabelGrid::Entry& entry) {
                                            if (entry.label != label) {
                                                lanes.noteLabel(entry.rect);
                                            }
                                        });
        return allowed & ~lanes.getOverlappingMask();
    });
}

void LabelPlacer::Impl::placeGreedily() {
    m_anySteppedBack = false;
    for (std::size_t next = 0; next < m_placeable; ++next) {
        const auto label = static_cast<std::uint32_t>(next);
        const std::uint32_t free = findFreeLanes(label);
        // The place shown in the previous call first, then the candidates in
        // order of preference.
        LabelState& state = m_labels[label];
        const std::int16_t previous = state.previous;
        if (previous != s_hidden) {
            const std::size_t lane =
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
            const auto lane = static_cast<std::size_t>(__builtin_ctz(free));
            show(label, m_shapes.getCandidateRects(state.shape).firstCandidateOfLane[lane]);
        }
    }
}

}  // namespace Varnek
