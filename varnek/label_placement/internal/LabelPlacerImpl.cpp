#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <utility>

#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_shape/LabelIndicator.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;
using internal::bitsOf;

bool isValidViewport(const LabelRect& viewport) {
    return internal::isFinite(viewport) && viewport.left <= viewport.right &&
           viewport.top <= viewport.bottom;
}

// The given candidates, in order, without repeats and values that name no
// reference point; the default order for an empty list.
std::vector<ReferencePoint> resolveCandidates(const std::vector<ReferencePoint>& given) {
    if (given.empty()) {
        return {LabelPlacementOptions::defaultCandidates.begin(),
                LabelPlacementOptions::defaultCandidates.end()};
    }
    std::vector<ReferencePoint> candidates;
    for (const ReferencePoint referencePoint : given) {
        const int value = referencePoint;
        if (value >= LabelBackground::Center && value <= LabelBackground::BottomRight &&
            std::find(candidates.begin(), candidates.end(), referencePoint) == candidates.end()) {
            candidates.push_back(referencePoint);
        }
    }
    return candidates;
}

}  // namespace

LabelPlacer::Impl::BackgroundState LabelPlacer::Impl::BackgroundState::of(
    const LabelBackground* background) {
    if (background == nullptr) {
        return {0.0f, 0.0f, false};
    }
    const LabelIndicator* indicator = background->getIndicator();
    return {
        background->getScreenHeightFractionToMaskedSceneScaleFactor(),
        indicator != nullptr ? indicator->getScreenHeightFractionToMaskedSceneScaleFactor() : 0.0f,
        background->isInitialized()};
}

bool LabelPlacer::Impl::BackgroundState::isSameAs(const BackgroundState& other) const {
    return bitsOf(scale) == bitsOf(other.scale) &&
           bitsOf(indicatorScale) == bitsOf(other.indicatorScale) &&
           initialized == other.initialized;
}

LabelPlacer::Impl::Impl(std::shared_ptr<const LabelBackground> defaultBackground,
                        LabelPlacementOptions options)
    : m_defaultBackground(std::move(defaultBackground)) {
    setOptions(std::move(options));
}

void LabelPlacer::Impl::setOptions(LabelPlacementOptions options) {
    std::vector<ReferencePoint> candidates = resolveCandidates(options.candidates);
    m_options = std::move(options);
    m_candidates = std::move(candidates);
    m_candidateOfReferencePoint.fill(s_hidden);
    for (std::size_t k = 0; k < m_candidates.size(); ++k) {
        const int slot = m_candidates[k] + 1;
        m_candidateOfReferencePoint[static_cast<std::size_t>(slot)] = static_cast<std::int16_t>(k);
    }
    m_viewportValid = isValidViewport(m_options.viewport);
    // A NaN or negative gap counts as none.
    m_halfGap = m_options.gap > 0.0f ? 0.5f * m_options.gap : 0.0f;
    m_shapes.reset(m_candidates);
    m_keepOut.setRectangles(m_options.keepOut);
    m_hasLastCall = false;
}

void LabelPlacer::Impl::forgetHistory() noexcept {
    m_previousKeys.clear();
    forgetFades();
    m_hasLastCall = false;
    m_shapes.clear();
}

const std::vector<PlacedLabel>& LabelPlacer::Impl::place(const LabelRequest* labels,
                                                         std::size_t count) {
    if (m_options.fadeFrames > 0) {
        return placeSelected(labels, count, nullptr);
    }
    try {
        forgetFades();
        m_keepOut.setMask(nullptr, m_options.viewport);
        if (m_hadRooms) {
            // The previous frame kept rooms for labels fading out.
            m_rooms.clear();
            m_keepOut.setRooms(m_rooms, m_options.viewport, m_halfGap);
            m_hadRooms = false;
            m_hasLastCall = false;
        }
        placeFrame(labels, count);
    } catch (...) {
        dropFrame();
        throw;
    }
    return m_result;
}

void LabelPlacer::Impl::dropFrame() noexcept {
    // Whatever was half built is dropped: the next call starts afresh.
    forgetHistory();
    m_result.clear();
    m_sceneResult.clear();
    m_outlinePointCount = 0;
    m_outlineTriangleIndexCount = 0;
    m_outlineStarts.clear();
    m_outlineLabels.clear();
    m_leaders.clear();
}

void LabelPlacer::Impl::placeFrame(const LabelRequest* labels, std::size_t count) {
    // An unchanged frame keeps its result: placing it again would only let
    // the improvement go on where the previous call stopped.
    if (isSameAsLastCall(labels, count)) {
        return;
    }
    m_hasLastCall = false;
    readRequests(labels, count);
    // The rooms of labels fading out are searched only by labels whose
    // shapes may reach them.
    m_keepOut.setRoomReach(m_shapes.getSpanReach());
    layOutGrids(count);
    orderForGreedy(count);
    placeGreedily();
    improve();
    cleanUp();
    placeCallouts();
    writeResult(labels, count);
    keepHistory();
    // A label that stepped back comes back in the next call, even if the
    // frame is the same: that call is placed anew.
    m_hasLastCall = !m_anySteppedBack;
}

bool LabelPlacer::Impl::isSameAsLastCall(const LabelRequest* labels, std::size_t count) const {
    if (!m_hasLastCall || count != m_lastKeys.size()) {
        return false;
    }
    // A request at the start of one of the previous call's runs is compared
    // with that run, any other with the run it falls in (the first request
    // starts one of each).
    std::size_t backgroundRun = 0;
    std::size_t sizeRun = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        const LabelState& read = m_read[i];
        if (request.key != m_lastKeys[i] || bitsOf(request.anchor[2]) != bitsOf(m_lastDepths[i]) ||
            bitsOf(request.anchor[0]) != bitsOf(read.x) ||
            bitsOf(request.anchor[1]) != bitsOf(read.y) ||
            bitsOf(request.priority) != bitsOf(read.priority)) {
            return false;
        }
        if (backgroundRun < m_lastBackgroundRuns.size() &&
            m_lastBackgroundRuns[backgroundRun].first == i) {
            const BackgroundRun& run = m_lastBackgroundRuns[backgroundRun++];
            // A background initialised again since is another shape.
            const LabelBackground* background =
                request.background != nullptr ? request.background : m_defaultBackground.get();
            if (request.background != run.background ||
                !BackgroundState::of(background).isSameAs(run.state)) {
                return false;
            }
        } else if (request.background != m_lastBackgroundRuns[backgroundRun - 1].background) {
            return false;
        }
        const std::size_t size =
            sizeRun < m_lastSizeRuns.size() && m_lastSizeRuns[sizeRun].first == i ? sizeRun++
                                                                                  : sizeRun - 1;
        if (!internal::sameBits(request.size, m_lastSizeRuns[size].size)) {
            return false;
        }
    }
    return true;
}

}  // namespace Varnek
