#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>

#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {

const std::vector<PlacedLabel>& LabelPlacer::Impl::place(const LabelRequest* labels,
                                                         std::size_t count,
                                                         const LabelScene& scene) {
    return placeSelected(labels, count, &scene);
}

const std::vector<PlacedLabel>& LabelPlacer::Impl::placeSelected(const LabelRequest* labels,
                                                                 std::size_t count,
                                                                 const LabelScene* scene) {
    try {
        const bool fading = m_options.fadeFrames > 0;
        if (!fading) {
            forgetFades();
        }
        selectRequests(labels, count, scene);
        m_keepOut.setMask(scene != nullptr ? scene->keepOut : nullptr, m_options.viewport);
        reserveFadingRooms(labels);
        // The mask and the rooms kept may differ from the previous frame's:
        // no unchanged frame then.
        if (m_keepOut.hasMask() || m_keepOut.hasRooms() || m_hadRooms) {
            m_hasLastCall = false;
        }
        m_hadRooms = m_keepOut.hasRooms();
        m_drawnPlaces = fading;
        placeFrame(m_inView.data(), m_inView.size());
        m_drawnPlaces = false;
        spreadResult();
        return fading ? composeFades(labels, count) : m_sceneResult;
    } catch (...) {
        m_drawnPlaces = false;
        dropFrame();
        throw;
    }
}

void LabelPlacer::Impl::selectRequests(const LabelRequest* labels, std::size_t count,
                                       const LabelScene* scene) {
    // Every request's result is first written as hidden where its anchor
    // landed, in one pass; only the anchors in view take part in the
    // placement, whose result is spread back over theirs. A request is
    // read once here, and again only if its anchor is in view.
    m_sceneResult.resize(count);
    m_anchorsInView.resize(count);
    PlacedLabel* results = m_sceneResult.data();
    internal::AnchorInView* inView = m_anchorsInView.data();
    std::size_t listed = 0;
    // Whether the requests' keys are the previous call's, in order, for the
    // fades.
    const bool fading = m_options.fadeFrames > 0;
    const std::uint64_t* keys = fading && m_fadeKeys.size() == count ? m_fadeKeys.data() : nullptr;
    bool sameKeys = keys != nullptr;
    if (scene != nullptr) {
        m_projection.reset(*scene);
        const internal::AnchorProjection::Culled culled =
            m_projection.cull(labels, count, keys, results, inView);
        listed = culled.inView;
        sameKeys = culled.sameKeys;
        listed = m_projection.removeOccluded(inView, listed);
    } else {
        // The 2D call with fades: every anchor as given.
        for (std::size_t i = 0; i < count; ++i) {
            const Vector<float, 3>& anchor = labels[i].anchor;
            PlacedLabel& result = results[i];
            result = PlacedLabel{};
            result.visible = false;
            result.referencePoint = LabelBackground::Center;
            result.offset = Vector<float, 3>::getZeroVector();
            result.bounds = {anchor[0], anchor[1], anchor[0], anchor[1]};
            result.anchorInView = anchor;
            inView[i] = {static_cast<std::uint32_t>(i), anchor[0], anchor[1], anchor[2]};
            sameKeys = sameKeys && labels[i].key == keys[i];
        }
        listed = count;
    }
    if (fading) {
        matchFades(labels, count, sameKeys);
    }
    // The labels drawn in the previous call are met in request order
    // beside the anchors in view: those culled now, and those fading for
    // want of room, fade out apart from the placement. Those in view still
    // take part in it, unplaced, as anchors that keep labels off.
    m_inView.clear();
    m_inView.reserve(count);
    m_requestOfInView.clear();
    m_requestOfInView.reserve(count);
    m_drawnOfInView.clear();
    m_drawnOfInView.reserve(count);
    m_fadeCandidates.clear();
    // Room for every request, not only for the labels drawn now: how many
    // are drawn differs from frame to frame, and a frame allocates nothing
    // once the buffers have grown to its number of labels.
    m_fadeCandidates.reserve(std::max(count, m_drawn.size()));
    std::size_t nextDrawn = 0;
    const auto fadeCulledBefore = [&](std::uint32_t request) {
        for (; nextDrawn < m_drawn.size() && m_drawn[nextDrawn].request < request; ++nextDrawn) {
            const PlacedLabel& culled = results[m_drawn[nextDrawn].request];
            noteFading(m_drawn[nextDrawn], culled.hiddenReason, culled.anchorInView[0],
                       culled.anchorInView[1]);
        }
    };
    for (std::size_t j = 0; j < listed; ++j) {
        // The requests in view lie anywhere among the others.
        if (j + internal::s_farPrefetchDistance < listed) {
            internal::prefetchForRead(&labels[inView[j + internal::s_farPrefetchDistance].request]);
        }
        const internal::AnchorInView& anchor = inView[j];
        fadeCulledBefore(anchor.request);
        std::uint32_t drawn = s_notDrawn;
        if (nextDrawn < m_drawn.size() && m_drawn[nextDrawn].request == anchor.request) {
            drawn = static_cast<std::uint32_t>(nextDrawn++);
            if (!noteFading(m_drawn[drawn], LabelHiddenReason::None, anchor.x, anchor.y)) {
                results[anchor.request].hiddenReason = m_drawn[drawn].fadingFor;
            }
        }
        m_inView.push_back(labels[anchor.request]);
        m_inView.back().anchor = {anchor.x, anchor.y, anchor.depth};
        m_requestOfInView.push_back(anchor.request);
        m_drawnOfInView.push_back(drawn);
    }
    fadeCulledBefore(0xFFFFFFFFu);
}

void LabelPlacer::Impl::spreadResult() {
    // With fades, the labels shown are listed on the way, without a branch
    // (which are shown follows no pattern), for composing what is drawn.
    const bool listShown = m_options.fadeFrames > 0;
    m_visibleInView.reserve(m_sceneResult.size());
    m_visibleInView.resize(listShown ? m_inView.size() : 0);
    std::size_t shown = 0;
    for (std::size_t j = 0; j < m_inView.size(); ++j) {
        if (j + internal::s_farPrefetchDistance < m_inView.size()) {
            internal::prefetchForWrite(
                &m_sceneResult[m_requestOfInView[j + internal::s_farPrefetchDistance]]);
        }
        // One fading apart keeps the result written for it, unless its
        // request cannot be placed at all.
        const LabelHiddenReason reason = m_result[j].hiddenReason;
        if (!fadesApart(j) || reason == LabelHiddenReason::OutOfContract ||
            reason == LabelHiddenReason::BackgroundNotInitialized) {
            m_sceneResult[m_requestOfInView[j]] = m_result[j];
        }
        if (listShown) {
            m_visibleInView[shown] = static_cast<std::uint32_t>(j);
            shown += m_result[j].visible ? 1 : 0;
        }
    }
    m_visibleInView.resize(shown);
}

}  // namespace Varnek
