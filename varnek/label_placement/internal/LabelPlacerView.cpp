#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <cmath>
#include <limits>

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
        if (fading) {
            matchFades(labels, count);
        } else {
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
        placeFrame(m_inView.data(), m_inView.size());
        spreadResult();
        return fading ? composeFades(labels, count) : m_sceneResult;
    } catch (...) {
        dropFrame();
        throw;
    }
}

void LabelPlacer::Impl::selectRequests(const LabelRequest* labels, std::size_t count,
                                       const LabelScene* scene) {
    // Only the anchors in view take part in the placement, and not the
    // labels fading out for want of room: the others are hidden here, in
    // request order, and the placement's result is spread back between
    // them.
    if (scene != nullptr) {
        m_projection.reset(*scene);
    }
    const bool fading = m_options.fadeFrames > 0;
    // Room for every request: how many are in view differs from frame to
    // frame.
    m_inView.clear();
    m_inView.reserve(count);
    m_requestOfInView.clear();
    m_requestOfInView.reserve(count);
    m_fadeCandidates.clear();
    m_fadeCandidates.reserve(count);
    m_sceneResult.resize(count);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        const Vector<float, 3>& world = request.anchor;
        internal::ProjectedAnchor anchor{world, LabelHiddenReason::None};
        if (scene != nullptr) {
            anchor = {{nan, nan, nan}, LabelHiddenReason::OutOfContract};
            if (m_projection.isViewValid() && std::isfinite(world[0]) && std::isfinite(world[1]) &&
                std::isfinite(world[2])) {
                anchor = m_projection.project(world);
            }
        }
        const FadeOut fade = fading ? fadesOut(i, anchor.reason) : FadeOut::No;
        if (fade != FadeOut::No) {
            m_fadeCandidates.push_back(
                {static_cast<std::uint32_t>(i), anchor.inView[0], anchor.inView[1]});
        }
        if (anchor.reason == LabelHiddenReason::None && fade != FadeOut::Apart) {
            m_inView.push_back(request);
            m_inView.back().anchor = anchor.inView;
            m_requestOfInView.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        PlacedLabel& placed = m_sceneResult[i];
        placed.visible = false;
        placed.referencePoint = LabelBackground::Center;
        placed.offset = Vector<float, 3>::getZeroVector();
        placed.bounds = {anchor.inView[0], anchor.inView[1], anchor.inView[0], anchor.inView[1]};
        placed.hiddenReason =
            anchor.reason != LabelHiddenReason::None ? anchor.reason : m_fades[i].fadingFor;
        placed.anchorInView = anchor.inView;
        placed.opacity = 0.0f;
        placed.callout = false;
    }
}

void LabelPlacer::Impl::spreadResult() {
    for (std::size_t j = 0; j < m_inView.size(); ++j) {
        m_sceneResult[m_requestOfInView[j]] = m_result[j];
    }
}

}  // namespace Varnek
