#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cstdint>

#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace {

bool liesInside(const LabelRect& r, const LabelRect& area) {
    return r.left >= area.left && r.right <= area.right && r.top >= area.top &&
           r.bottom <= area.bottom;
}

bool isCulled(LabelHiddenReason reason) {
    return reason == LabelHiddenReason::BehindCamera || reason == LabelHiddenReason::OutsideView ||
           reason == LabelHiddenReason::Occluded;
}

}  // namespace

void LabelPlacer::Impl::forgetFades() noexcept {
    m_drawn.clear();
    m_drawnCallouts.clear();
    m_fadeLeaders.clear();
    m_fadeKeys.clear();
    m_fadeFirst.clear();
    m_fadeKeysUnique = false;
    m_fading = false;
}

void LabelPlacer::Impl::matchFades(const LabelRequest* labels, std::size_t count, bool sameKeys) {
    // Levels kept for another count of frames keep their share.
    const int frames = m_options.fadeFrames;
    if (frames != m_fadeFrames && m_fadeFrames > 0) {
        for (DrawnLabel& drawn : m_drawn) {
            const std::int64_t scaled = static_cast<std::int64_t>(drawn.level) * frames;
            drawn.level = static_cast<std::int32_t>((scaled + m_fadeFrames - 1) / m_fadeFrames);
        }
    }
    m_fadeFrames = frames;
    // Mostly the same requests come in the same order: then each drawn
    // label continues at its place, which was the first with its key
    // exactly when it is now.
    if (sameKeys) {
        return;
    }
    bool unique = true;
    // Otherwise by key: a drawn label that was the first with its key
    // continues as the first request with it now.
    m_fadeKeyTable.reset(count);
    for (std::size_t i = 0; i < count; ++i) {
        m_fadeKeyTable.insert(labels[i].key, static_cast<std::uint32_t>(i));
    }
    m_nextDrawn.clear();
    for (const DrawnLabel& drawn : m_drawn) {
        const std::uint32_t now = m_fadeFirst[drawn.request] != 0
                                      ? m_fadeKeyTable.find(m_fadeKeys[drawn.request])
                                      : internal::KeyTable::s_absent;
        if (now != internal::KeyTable::s_absent) {
            m_nextDrawn.push_back(drawn);
            m_nextDrawn.back().request = now;
        }
    }
    std::sort(m_nextDrawn.begin(), m_nextDrawn.end(),
              [](const DrawnLabel& a, const DrawnLabel& b) { return a.request < b.request; });
    m_drawn.swap(m_nextDrawn);
    m_fadeKeys.resize(count);
    m_fadeFirst.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        m_fadeKeys[i] = labels[i].key;
        m_fadeFirst[i] = m_fadeKeyTable.find(labels[i].key) == i ? 1 : 0;
        unique = unique && m_fadeFirst[i] != 0;
    }
    m_fadeKeysUnique = unique;
}

LabelPlacer::Impl::FadeOut LabelPlacer::Impl::fadesOut(const DrawnLabel& drawn,
                                                       LabelHiddenReason culled) const {
    // Still drawn after one step down.
    if (!isFirstWithKey(drawn.request) || drawn.level < 2) {
        return FadeOut::No;
    }
    // Culled now, or fading for want of room: it goes on fading, apart from
    // the placement, and comes back once it has gone (the label that took
    // its room would otherwise lose it again).
    if (culled != LabelHiddenReason::None ||
        (drawn.fadingFor != LabelHiddenReason::None && !isCulled(drawn.fadingFor))) {
        return FadeOut::Apart;
    }
    // Fading because its anchor was culled, which it is no longer: placed,
    // it comes back from where it is.
    if (drawn.fadingFor != LabelHiddenReason::None) {
        return FadeOut::Placed;
    }
    // Shown: whether it goes is known after the placement.
    return FadeOut::No;
}

bool LabelPlacer::Impl::noteFading(const DrawnLabel& drawn, LabelHiddenReason culled, float x,
                                   float y) {
    const FadeOut fade = fadesOut(drawn, culled);
    if (fade != FadeOut::No) {
        m_fadeCandidates.push_back({drawn.request, x, y, drawn.shown, drawn.callout});
    }
    return fade != FadeOut::Apart;
}

bool LabelPlacer::Impl::keepFadingRoom(const LabelRequest& request, std::uint32_t self,
                                       std::int16_t shown, std::uint32_t callout, float x,
                                       float y) {
    // Where it showed, relative to its anchor now.
    const std::int16_t candidate =
        shown != s_hidden ? m_candidateOfReferencePoint[static_cast<std::size_t>(shown)] : s_hidden;
    const LabelBackground* background =
        request.background != nullptr ? request.background : m_defaultBackground.get();
    if ((candidate == s_hidden && callout == s_notDrawn) || background == nullptr ||
        !background->isInitialized() ||
        !internal::hasPlaceableSizeAndPriority(request.size, request.priority) ||
        !m_viewportValid) {
        return false;
    }
    LabelRect bounds{};
    internal::Segment leader{};
    if (callout != s_notDrawn) {
        if (!findFadingCallout(request, callout, x, y, bounds, leader)) {
            return false;
        }
    } else {
        const LabelRect& relative = m_shapes
                                        .getCandidate(m_shapes.find(*background, request.size),
                                                      static_cast<std::size_t>(candidate))
                                        .bounds;
        bounds = {x + relative.left, y + relative.top, x + relative.right, y + relative.bottom};
    }
    if (!internal::isFinite(bounds) || !liesInside(bounds, m_options.viewport) ||
        m_keepOut.blocksRect(bounds) ||
        meetsFadingLabels(grow(bounds), callout != s_notDrawn ? &leader : nullptr)) {
        return false;
    }
    m_fadingOut.push_back({self, static_cast<std::uint32_t>(candidate), bounds, callout, leader});
    listFadingRoom(m_fadingOut.back());
    return true;
}

void LabelPlacer::Impl::reserveFadingRooms(const LabelRequest* labels) {
    // The labels known to fade out before the placement keep their rooms
    // in it; one that cannot keep its room goes at once.
    // Room for every label of the frame: how many fade differs from frame
    // to frame, and a frame allocates nothing once the buffers have grown
    // to its number of labels.
    m_fadingOut.clear();
    m_fadingOut.reserve(m_sceneResult.size());
    indexFadingRooms();
    m_rooms.clear();
    m_rooms.reserve(m_sceneResult.size());
    for (const FadeCandidate& candidate : m_fadeCandidates) {
        if (keepFadingRoom(labels[candidate.request], candidate.request, candidate.shown,
                           candidate.callout, candidate.x, candidate.y)) {
            m_rooms.push_back({m_fadingOut.back().bounds, candidate.request});
        }
    }
    m_keepOut.setRooms(m_rooms, m_options.viewport, m_halfGap);
}

const std::vector<PlacedLabel>& LabelPlacer::Impl::composeFades(const LabelRequest* labels,
                                                                std::size_t count) {
    std::vector<PlacedLabel>& result = m_sceneResult;
    const std::vector<PlacedLabel>& targets = m_sceneResult;
    const int frames = m_fadeFrames;
    // A label fading out that the placement placed again comes back where
    // it is drawn, in its room, which no other label took: the placement's
    // history is told so, so that it keeps that place from the next call
    // on instead of jumping.
    // A label drawn where it was placed is not held off the rooms: a fading
    // label whose room it took goes at once.
    const auto takenByDrawn = [&](const FadingLabel& fading) {
        const std::uint32_t self = fading.request;
        const LabelRect grown = grow(fading.bounds);
        bool taken = false;
        m_visible.forEachListingInCells(grown, [&](const internal::VisibleLabelGrid::Entry& entry) {
            taken = taken || (requestOfLabel(entry.label) != self &&
                              internal::overlaps(grown, entry.rect) && isDrawnInPlace(entry.label));
        });
        return taken || (!m_callouts.empty() && leaderEntersRect(grown, self, true)) ||
               (fading.callout != s_notDrawn && isFadingLeaderTaken(fading.leader, self));
    };
    m_fadingOut.erase(std::remove_if(m_fadingOut.begin(), m_fadingOut.end(), takenByDrawn),
                      m_fadingOut.end());
    indexFadingRooms();
    for (FadingLabel& fading : m_fadingOut) {
        if (targets[fading.request].visible) {
            const auto inView =
                static_cast<std::size_t>(std::lower_bound(m_requestOfInView.begin(),
                                                          m_requestOfInView.end(), fading.request) -
                                         m_requestOfInView.begin());
            // It comes back only to a place the placement allows it now;
            // one that an anchor come into view keeps off steps back and
            // fades on where it is, as a label whose place is taken does,
            // rather than jump.
            const LabelIndex label = m_labelOf[inView];
            if (fading.callout == s_notDrawn
                    ? !isAllowed(label, fading.candidate)
                    : !calloutClearsAnchors(label, fading.bounds, fading.leader)) {
                m_previousReferencePoints[inView] = s_hidden;
                continue;
            }
            fading.comesBack = true;
            if (fading.callout != s_notDrawn) {
                keepFadingCalloutPlace(inView, fading.callout);
                continue;
            }
            m_previousReferencePoints[inView] =
                static_cast<std::int16_t>(m_candidates[fading.candidate] + 1);
        }
    }
    // Labels shown in the previous call that the placement hid now fade out
    // where they were, if a label drawn before has not moved there: placed
    // labels not drawn before are held back from their rooms until they
    // have gone.
    m_held.assign(m_inView.size(), 0);
    const std::size_t keptBefore = m_fadingOut.size();
    std::size_t nextCandidate = 0;
    for (std::size_t d = 0; d < m_drawn.size(); ++d) {
        // The drawn labels' results lie anywhere among the requests'.
        if (d + internal::s_farPrefetchDistance < m_drawn.size()) {
            internal::prefetchForRead(
                &targets[m_drawn[d + internal::s_farPrefetchDistance].request]);
        }
        const DrawnLabel& drawn = m_drawn[d];
        const std::uint32_t i = drawn.request;
        const bool candidate =
            nextCandidate < m_fadeCandidates.size() && m_fadeCandidates[nextCandidate].request == i;
        nextCandidate += candidate ? 1 : 0;
        if (candidate || targets[i].visible || !isFirstWithKey(i) || drawn.level < 2) {
            continue;
        }
        if (!keepFadingRoom(labels[i], i, drawn.shown, drawn.callout, targets[i].anchorInView[0],
                            targets[i].anchorInView[1])) {
            continue;
        }
        if (takenByDrawn(m_fadingOut.back())) {
            m_fadingOut.pop_back();
            m_fadingRoomGrid.removeLast();
        }
    }
    for (std::size_t f = 0; f < m_fadingOut.size(); ++f) {
        const FadingLabel& fading = m_fadingOut[f];
        // The placement kept off the rooms known before it, not off leaders.
        if (fading.callout != s_notDrawn) {
            holdLabelsCrossing(fading.leader, fading.request);
        }
        if (f < keptBefore) {
            continue;
        }
        const LabelRect grown = grow(fading.bounds);
        m_visible.forEachListingInCells(grown, [&](const internal::VisibleLabelGrid::Entry& entry) {
            if (internal::overlaps(grown, entry.rect)) {
                m_held[m_requestOf[entry.label]] = 1;
            }
        });
        holdCalloutsCrossing(grown);
    }
    std::sort(m_fadingOut.begin(), m_fadingOut.end(),
              [](const FadingLabel& a, const FadingLabel& b) { return a.request < b.request; });

    // What is drawn, written over the placement's result in one pass with
    // the outlines: the placement's own for the labels drawn where it put
    // them, the rooms' for the labels fading. Only labels placed now or
    // drawn before are read: a label hidden now that was not drawn before
    // keeps the placement's entry as it is.
    m_fadeOutlineLabels.clear();
    m_fadeOutlineLabels.reserve(count);
    m_fadeOutlineStarts.clear();
    m_fadeOutlineStarts.reserve(count + 1);
    m_nextDrawn.clear();
    m_nextDrawn.reserve(count);
    m_nextDrawnCallouts.clear();
    m_nextDrawnCallouts.reserve(count);
    m_fadeLeaders.clear();
    m_fadeLeaders.reserve(count);
    std::size_t points = 0;
    std::size_t triangleIndices = 0;
    std::size_t placed = 0;
    const float step = 1.0f / static_cast<float>(frames);
    std::size_t nextFading = 0;
    std::size_t nextDrawn = 0;
    std::size_t nextShown = 0;
    constexpr std::uint32_t none = 0xFFFFFFFFu;
    for (;;) {
        if (nextDrawn + internal::s_farPrefetchDistance < m_drawn.size()) {
            internal::prefetchForWrite(
                &result[m_drawn[nextDrawn + internal::s_farPrefetchDistance].request]);
        }
        const std::uint32_t drawnRequest =
            nextDrawn < m_drawn.size() ? m_drawn[nextDrawn].request : none;
        const std::uint32_t placedRequest = nextShown < m_visibleInView.size()
                                                ? m_requestOfInView[m_visibleInView[nextShown]]
                                                : none;
        const std::uint32_t i = std::min(drawnRequest, placedRequest);
        if (i == none) {
            break;
        }
        const std::int32_t before = drawnRequest == i ? m_drawn[nextDrawn++].level : 0;
        const bool target = placedRequest == i;
        const std::size_t inView = target ? m_visibleInView[nextShown++] : 0;
        PlacedLabel& label = result[i];
        const bool fading = nextFading < m_fadingOut.size() && m_fadingOut[nextFading].request == i;
        std::int32_t level = 0;
        LabelHiddenReason fadingFor = LabelHiddenReason::None;
        OutlineLabel outline{};
        std::uint32_t drawnCallout = s_notDrawn;
        // What it shows, for the next call: its reference point + 1, or
        // s_hidden as a callout.
        std::int16_t shown = s_hidden;
        if (fading) {
            const FadingLabel& room = m_fadingOut[nextFading++];
            placed += target ? 1 : 0;
            level = room.comesBack ? std::min(before + 1, frames) : before - 1;
            fadingFor = room.comesBack ? LabelHiddenReason::None
                        : target       ? LabelHiddenReason::PlaceTaken
                                       : label.hiddenReason;
            label.hiddenReason = fadingFor;
            if (room.callout != s_notDrawn) {
                // With its leader, placed again or not, where it is drawn.
                writeFadingCallout(labels[i], room, label, outline);
                drawnCallout = noteDrawnCallout(m_drawnCallouts[room.callout], room.leader);
            } else {
                const LabelBackground& background = backgroundOf(labels[i]);
                label.visible = true;
                label.referencePoint = m_candidates[room.candidate];
                shown = static_cast<std::int16_t>(label.referencePoint + 1);
                label.offset = background.getOffset(label.referencePoint, labels[i].size);
                label.bounds = room.bounds;
                // Placed again as a callout, it is still drawn in its room:
                // beside its anchor, with no leader.
                label.callout = false;
                // Where it is drawn, not where it was placed.
                outline = {label.anchorInView[0], label.anchorInView[1],
                           m_shapes.findOutline(m_shapes.find(background, labels[i].size),
                                                room.candidate)};
            }
        } else if (target && m_held[inView] == 0) {
            level = isFirstWithKey(i) ? std::min(before + 1, frames) : frames;
            outline = m_outlineLabels[placed++];
            // As the placement wrote it, read where it lies at hand.
            const PlacedLabel& placedNow = m_result[inView];
            shown = placedNow.callout ? s_hidden
                                      : static_cast<std::int16_t>(placedNow.referencePoint + 1);
            if (placedNow.callout) {
                const Callout& callout = m_callouts[m_calloutOfLabel[m_labelOf[inView]]];
                drawnCallout = noteDrawnCallout({callout.dx, callout.dy, callout.endX, callout.endY,
                                                 labels[i].size, &backgroundOf(labels[i])},
                                                callout.leader);
            }
        } else if (target) {
            ++placed;
            label.visible = false;
            label.referencePoint = LabelBackground::Center;
            label.offset = Vector<float, 3>::getZeroVector();
            label.bounds = {label.anchorInView[0], label.anchorInView[1], label.anchorInView[0],
                            label.anchorInView[1]};
            label.hiddenReason = LabelHiddenReason::NoRoom;
            label.callout = false;
        }
        label.opacity = level == frames ? 1.0f : static_cast<float>(level) * step;
        if (level > 0) {
            // Written field by field: a copy of one built on the stack
            // would wait for its stores.
            m_nextDrawn.emplace_back();
            DrawnLabel& next = m_nextDrawn.back();
            next.request = i;
            next.level = level;
            next.shown = shown;
            next.fadingFor = fadingFor;
            next.callout = drawnCallout;
            m_fadeOutlineStarts.push_back(static_cast<std::uint32_t>(points));
            m_fadeOutlineLabels.push_back(outline);
            points += outline.outline.count;
            triangleIndices += outline.outline.triangleIndexCount;
        }
    }
    m_drawn.swap(m_nextDrawn);
    m_drawnCallouts.swap(m_nextDrawnCallouts);
    m_fadeOutlinePointCount = points;
    m_fadeTriangleIndexCount = triangleIndices;
    m_fadeOutlineStarts.push_back(static_cast<std::uint32_t>(points));
    m_fading = true;
    return result;
}

}  // namespace Varnek
