#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <varnek/label_placement/internal/PlacementPrimitives.h>

namespace Varnek {
namespace {

bool isFinite(const LabelRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom);
}

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
    m_fades.clear();
    m_fading = false;
}

void LabelPlacer::Impl::matchFades(const LabelRequest* labels, std::size_t count) {
    // Levels kept for another count of frames keep their share.
    const int frames = m_options.fadeFrames;
    if (frames != m_fadeFrames && m_fadeFrames > 0) {
        for (FadeState& state : m_fades) {
            const std::int64_t scaled = static_cast<std::int64_t>(state.level) * frames;
            state.level = static_cast<std::int32_t>((scaled + m_fadeFrames - 1) / m_fadeFrames);
        }
    }
    m_fadeFrames = frames;
    // The previous call's fade state of every request, by key. Mostly the
    // same requests come in the same order: then each continues the one at
    // its place, which was the first with its key exactly when it is now.
    m_fadeLevel.resize(count);
    m_fadeFirst.resize(count);
    bool sameKeys = m_fades.size() == count;
    for (std::size_t i = 0; sameKeys && i < count; ++i) {
        sameKeys = m_fades[i].key == labels[i].key;
    }
    if (sameKeys) {
        for (std::size_t i = 0; i < count; ++i) {
            m_fadeLevel[i] = m_fades[i].level;
            m_fadeFirst[i] = m_fades[i].first;
        }
        return;
    }
    m_fadePreviousKeys.reset(m_fades.size());
    for (std::size_t j = 0; j < m_fades.size(); ++j) {
        if (m_fades[j].first != 0) {
            m_fadePreviousKeys.insert(m_fades[j].key, static_cast<std::uint32_t>(j));
        }
    }
    m_fadeKeys.reset(count);
    m_nextFades.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto request = static_cast<std::uint32_t>(i);
        const bool first = m_fadeKeys.insert(labels[i].key, request) == request;
        const std::uint32_t before =
            first ? m_fadePreviousKeys.find(labels[i].key) : internal::KeyTable::s_absent;
        m_nextFades[i] = {labels[i].key, 0, s_hidden, static_cast<std::uint8_t>(first ? 1 : 0),
                          LabelHiddenReason::None};
        if (before != internal::KeyTable::s_absent) {
            m_nextFades[i] = m_fades[before];
        }
        m_fadeFirst[i] = m_nextFades[i].first;
        m_fadeLevel[i] = m_nextFades[i].level;
    }
    // The next call finds these requests at their places.
    m_fades.swap(m_nextFades);
}

LabelPlacer::Impl::FadeOut LabelPlacer::Impl::fadesOut(std::size_t i,
                                                       LabelHiddenReason culled) const {
    // Drawn in the previous call, and still drawn after one step down.
    const FadeState& state = m_fades[i];
    if (m_fadeFirst[i] == 0 || m_fadeLevel[i] < 2 || state.shown == s_hidden) {
        return FadeOut::No;
    }
    // Culled now, or fading for want of room: it goes on fading, apart from
    // the placement, and comes back once it has gone (the label that took
    // its room would otherwise lose it again).
    if (culled != LabelHiddenReason::None ||
        (state.fadingFor != LabelHiddenReason::None && !isCulled(state.fadingFor))) {
        return FadeOut::Apart;
    }
    // Fading because its anchor was culled, which it is no longer: placed,
    // it comes back from where it is.
    if (state.fadingFor != LabelHiddenReason::None) {
        return FadeOut::Placed;
    }
    // Shown: whether it goes is known after the placement.
    return FadeOut::No;
}

bool LabelPlacer::Impl::keepFadingRoom(const LabelRequest& request, std::uint32_t self, float x,
                                       float y) {
    // Where it showed, relative to its anchor now.
    const std::int16_t shown = m_fades[self].shown;
    const std::int16_t candidate = m_candidateOfReferencePoint[static_cast<std::size_t>(shown)];
    const LabelBackground* background =
        request.background != nullptr ? request.background : m_defaultBackground.get();
    const Vector<float, 3>& size = request.size;
    if (candidate == s_hidden || background == nullptr || !background->isInitialized() ||
        !(size[0] >= 0.0f && size[1] >= 0.0f && size[2] >= 0.0f) || !std::isfinite(size[0]) ||
        !std::isfinite(size[1]) || !std::isfinite(size[2]) || !m_viewportValid) {
        return false;
    }
    const auto k = static_cast<std::size_t>(candidate);
    const LabelRect& relative = m_shapes.getCandidate(m_shapes.find(*background, size), k).bounds;
    const LabelRect bounds{x + relative.left, y + relative.top, x + relative.right,
                           y + relative.bottom};
    if (!isFinite(bounds) || !liesInside(bounds, m_options.viewport) ||
        m_keepOut.blocksRect(bounds)) {
        return false;
    }
    const LabelRect grown = grow(bounds);
    for (const FadingLabel& other : m_fadingOut) {
        if (internal::overlaps(grown, grow(other.bounds))) {
            return false;
        }
    }
    m_fadingOut.push_back({self, static_cast<std::uint32_t>(k), bounds});
    return true;
}

void LabelPlacer::Impl::reserveFadingRooms(const LabelRequest* labels) {
    // The labels known to fade out before the placement keep their rooms
    // in it; one that cannot keep its room goes at once.
    // Room for every label of the frame: how many fade differs from frame
    // to frame, and a frame allocates nothing once the buffers have grown
    // to its number of labels.
    m_fadingOut.clear();
    m_fadingOut.reserve(m_fadeLevel.size());
    m_rooms.clear();
    m_rooms.reserve(m_fadeLevel.size());
    for (const FadeCandidate& candidate : m_fadeCandidates) {
        if (keepFadingRoom(labels[candidate.request], candidate.request, candidate.x,
                           candidate.y)) {
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
    const auto takenByDrawn = [&](const LabelRect& bounds, std::uint32_t self) {
        const LabelRect grown = grow(bounds);
        bool taken = false;
        m_visible.forEachListingInCells(grown, [&](const internal::VisibleLabelGrid::Entry& entry) {
            const std::uint32_t request = requestOfLabel(entry.label);
            taken = taken || (request != self && internal::overlaps(grown, entry.rect) &&
                              isDrawnInPlace(request));
        });
        return taken;
    };
    m_fadingOut.erase(std::remove_if(m_fadingOut.begin(), m_fadingOut.end(),
                                     [&](const FadingLabel& fading) {
                                         return takenByDrawn(fading.bounds, fading.request);
                                     }),
                      m_fadingOut.end());
    for (const FadingLabel& fading : m_fadingOut) {
        if (targets[fading.request].visible) {
            const auto inView =
                static_cast<std::size_t>(std::lower_bound(m_requestOfInView.begin(),
                                                          m_requestOfInView.end(), fading.request) -
                                         m_requestOfInView.begin());
            m_previousReferencePoints[inView] = m_fades[fading.request].shown;
        }
    }
    // Labels shown in the previous call that the placement hid now fade out
    // where they were, if a label drawn before has not moved there: placed
    // labels not drawn before are held back from their rooms until they
    // have gone.
    m_held.assign(count, 0);
    const std::size_t keptBefore = m_fadingOut.size();
    std::size_t nextCandidate = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const bool candidate =
            nextCandidate < m_fadeCandidates.size() && m_fadeCandidates[nextCandidate].request == i;
        nextCandidate += candidate ? 1 : 0;
        if (candidate || targets[i].visible || m_fadeFirst[i] == 0 || m_fadeLevel[i] < 2 ||
            m_fades[i].shown == s_hidden) {
            continue;
        }
        const auto self = static_cast<std::uint32_t>(i);
        if (!keepFadingRoom(labels[i], self, targets[i].anchorInView[0],
                            targets[i].anchorInView[1])) {
            continue;
        }
        if (takenByDrawn(m_fadingOut.back().bounds, self)) {
            m_fadingOut.pop_back();
        }
    }
    for (std::size_t f = keptBefore; f < m_fadingOut.size(); ++f) {
        const LabelRect grown = grow(m_fadingOut[f].bounds);
        m_visible.forEachListingInCells(grown, [&](const internal::VisibleLabelGrid::Entry& entry) {
            if (internal::overlaps(grown, entry.rect)) {
                m_held[requestOfLabel(entry.label)] = 1;
            }
        });
    }
    std::sort(m_fadingOut.begin(), m_fadingOut.end(),
              [](const FadingLabel& a, const FadingLabel& b) { return a.request < b.request; });

    // What is drawn, written over the placement's result in one pass with
    // the outlines: the placement's own for the labels drawn where it put
    // them, the rooms' for the labels fading. A label hidden now that was
    // not drawn before keeps the placement's entry as it is.
    m_fadeOutlineLabels.clear();
    m_fadeOutlineLabels.reserve(count);
    m_fadeOutlineStarts.clear();
    m_fadeOutlineStarts.reserve(count + 1);
    std::size_t points = 0;
    std::size_t placed = 0;
    const float step = 1.0f / static_cast<float>(frames);
    std::size_t nextFading = 0;
    for (std::size_t i = 0; i < count; ++i) {
        PlacedLabel& label = result[i];
        const bool fading = nextFading < m_fadingOut.size() && m_fadingOut[nextFading].request == i;
        const bool target = label.visible;
        if (!fading && !target && m_fadeLevel[i] == 0) {
            continue;
        }
        std::int32_t level = 0;
        LabelHiddenReason fadingFor = LabelHiddenReason::None;
        OutlineLabel outline{};
        if (fading) {
            const FadingLabel& room = m_fadingOut[nextFading++];
            placed += target ? 1 : 0;
            level = target ? std::min(m_fadeLevel[i] + 1, frames) : m_fadeLevel[i] - 1;
            fadingFor = target ? LabelHiddenReason::None : label.hiddenReason;
            const LabelBackground& background = backgroundOf(labels[i]);
            label.hiddenReason = fadingFor;
            label.visible = true;
            label.referencePoint = m_candidates[room.candidate];
            label.offset = background.getOffset(label.referencePoint, labels[i].size);
            label.bounds = room.bounds;
            // Where it is drawn, not where it was placed.
            outline = {
                label.anchorInView[0], label.anchorInView[1],
                m_shapes.findOutline(m_shapes.find(background, labels[i].size), room.candidate)};
        } else if (target && m_held[i] == 0) {
            level = m_fadeFirst[i] != 0 ? std::min(m_fadeLevel[i] + 1, frames) : frames;
            outline = m_outlineLabels[placed++];
        } else if (target) {
            ++placed;
            label.visible = false;
            label.referencePoint = LabelBackground::Center;
            label.offset = Vector<float, 3>::getZeroVector();
            label.bounds = {label.anchorInView[0], label.anchorInView[1], label.anchorInView[0],
                            label.anchorInView[1]};
            label.hiddenReason = LabelHiddenReason::NoRoom;
        }
        label.opacity = level == frames ? 1.0f : static_cast<float>(level) * step;
        FadeState& state = m_fades[i];
        state.level = level;
        state.shown = level > 0 ? static_cast<std::int16_t>(label.referencePoint + 1) : s_hidden;
        state.fadingFor = fadingFor;
        if (level > 0) {
            m_fadeOutlineStarts.push_back(static_cast<std::uint32_t>(points));
            m_fadeOutlineLabels.push_back(outline);
            points += outline.outline.count;
        }
    }
    m_fadeOutlinePointCount = points;
    m_fadeOutlineStarts.push_back(static_cast<std::uint32_t>(points));
    m_fading = true;
    return result;
}

}  // namespace Varnek
