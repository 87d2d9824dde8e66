#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <cmath>
#include <limits>

namespace Varnek {

const std::vector<PlacedLabel>& LabelPlacer::Impl::place(const LabelRequest* labels,
                                                         std::size_t count,
                                                         const LabelScene& scene) {
    try {
        projectRequests(labels, count, scene);
        // The mask may differ from the previous frame's: no unchanged frame.
        m_keepOut.setMask(scene.keepOut, m_options.viewport);
        if (m_keepOut.hasMask()) {
            m_hasLastCall = false;
        }
        placeFrame(m_inView.data(), m_inView.size());
        spreadResult();
    } catch (...) {
        dropFrame();
        throw;
    }
    return m_sceneResult;
}

void LabelPlacer::Impl::projectRequests(const LabelRequest* labels, std::size_t count,
                                        const LabelScene& scene) {
    // Only the anchors in view take part in the placement: the others are
    // hidden here, in request order, and the placement's result is spread
    // back between them.
    m_projection.reset(scene);
    m_inView.clear();
    m_requestOfInView.clear();
    m_sceneResult.resize(count);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        const Vector<float, 3>& world = request.anchor;
        internal::ProjectedAnchor anchor{{nan, nan, nan}, LabelHiddenReason::OutOfContract};
        if (m_projection.isViewValid() && std::isfinite(world[0]) && std::isfinite(world[1]) &&
            std::isfinite(world[2])) {
            anchor = m_projection.project(world);
        }
        if (anchor.reason == LabelHiddenReason::None) {
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
        placed.hiddenReason = anchor.reason;
        placed.anchorInView = anchor.inView;
        placed.opacity = 0.0f;
    }
}

void LabelPlacer::Impl::spreadResult() {
    for (std::size_t j = 0; j < m_inView.size(); ++j) {
        m_sceneResult[m_requestOfInView[j]] = m_result[j];
    }
}

}  // namespace Varnek
