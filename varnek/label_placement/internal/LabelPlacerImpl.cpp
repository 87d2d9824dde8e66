#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include <varnek/label_shape/LabelIndicator.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;

// Above and to the right first: the cartographic order.
constexpr std::array<ReferencePoint, 12> s_defaultCandidates = {
    LabelBackground::TopRight,   LabelBackground::TopLeft,      LabelBackground::BottomRight,
    LabelBackground::BottomLeft, LabelBackground::RightCenter,  LabelBackground::LeftCenter,
    LabelBackground::TopCenter,  LabelBackground::BottomCenter, LabelBackground::RightTop,
    LabelBackground::LeftTop,    LabelBackground::RightBottom,  LabelBackground::LeftBottom};

bool isFinite(const Vector<float, 3>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

bool isValidViewport(const LabelRect& viewport) {
    return std::isfinite(viewport.left) && std::isfinite(viewport.top) &&
           std::isfinite(viewport.right) && std::isfinite(viewport.bottom) &&
           viewport.left <= viewport.right && viewport.top <= viewport.bottom;
}

bool isInside(const LabelRect& rect, const LabelRect& area) {
    return rect.left >= area.left && rect.right <= area.right && rect.top >= area.top &&
           rect.bottom <= area.bottom;
}

// Whether two rectangles share an interior point; touching edges do not.
bool overlaps(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The given candidates, in order, without repeats and values that name no
// reference point; the default order for an empty list.
std::vector<ReferencePoint> resolveCandidates(const std::vector<ReferencePoint>& given) {
    if (given.empty()) {
        return {s_defaultCandidates.begin(), s_defaultCandidates.end()};
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
}

void LabelPlacer::Impl::forgetHistory() noexcept {
    m_previousKeys.clear();
}

const std::vector<PlacedLabel>& LabelPlacer::Impl::place(const LabelRequest* labels,
                                                         std::size_t count) {
    try {
        placeFrame(labels, count);
    } catch (...) {
        // Whatever was half built is dropped: the next call starts afresh.
        forgetHistory();
        m_result.clear();
        m_outlinePoints.clear();
        m_outlineStarts.clear();
        m_shapes.clear();
        throw;
    }
    return m_result;
}

void LabelPlacer::Impl::placeFrame(const LabelRequest* labels, std::size_t count) {
    readRequests(labels, count);
    layOutGrids(count);
    orderForGreedy(count);
    placeGreedily();
    writeResult(labels, count);
    writeOutlines(count);
    keepHistory(count);
}

void LabelPlacer::Impl::readRequests(const LabelRequest* labels, std::size_t count) {
    m_status.resize(count);
    m_x.resize(count);
    m_y.resize(count);
    m_priority.resize(count);
    m_anchorListed.resize(count);
    m_shape.resize(count);
    m_previous.resize(count);
    m_chosen.resize(count);
    m_checked.resize(count);
    m_allowed.resize(count);
    m_shapes.beginFrame(count);
    m_currentKeys.reset(count);

    const LabelRect& viewport = m_options.viewport;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        const LabelBackground* background =
            request.background != nullptr ? request.background : m_defaultBackground.get();
        const float x = request.anchor[0];
        const float y = request.anchor[1];
        m_x[i] = x;
        m_y[i] = y;
        m_priority[i] = request.priority;
        m_chosen[i] = s_hidden;
        m_previous[i] = s_hidden;
        m_checked[i] = 0;
        m_allowed[i] = 0;
        // An anchor outside the viewport cannot lie strictly inside a label
        // that lies inside it.
        m_anchorListed[i] = std::isfinite(x) && std::isfinite(y) && x >= viewport.left &&
                            x <= viewport.right && y >= viewport.top && y <= viewport.bottom;

        const bool inContract = m_viewportValid && background != nullptr && std::isfinite(x) &&
                                std::isfinite(y) && isFinite(request.size) &&
                                request.size[0] >= 0.0f && request.size[1] >= 0.0f &&
                                request.size[2] >= 0.0f && !std::isnan(request.priority);
        if (!inContract) {
            m_status[i] = Status::OutOfContract;
            continue;
        }
        if (!background->isInitialized()) {
            m_status[i] = Status::NotInitialized;
            continue;
        }
        m_status[i] = Status::Placeable;
        m_shape[i] = m_shapes.find(*background, request.size);

        // The history goes to the first request with the key.
        const auto label = static_cast<std::uint32_t>(i);
        if (m_currentKeys.insert(request.key, label) == label) {
            const std::uint32_t before = m_previousKeys.find(request.key);
            if (before != internal::KeyTable::s_absent) {
                const std::int16_t shown = m_previousReferencePoints[before];
                if (shown != s_hidden) {
                    m_previous[i] = m_candidateOfReferencePoint[static_cast<std::size_t>(shown)];
                }
            }
        }
    }
}

void LabelPlacer::Impl::layOutGrids(std::size_t count) {
    // Cells about as large as the labels (with the gap): a candidate then
    // touches a few cells, each holding a few labels.
    double width = 0.0;
    double height = 0.0;
    std::size_t placeable = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (m_status[i] == Status::Placeable && !m_candidates.empty()) {
            const LabelRect& bounds = m_shapes.getCandidate(m_shape[i], 0).bounds;
            const double w = static_cast<double>(bounds.right) - static_cast<double>(bounds.left);
            const double h = static_cast<double>(bounds.bottom) - static_cast<double>(bounds.top);
            if (std::isfinite(w) && std::isfinite(h)) {
                width += w;
                height += h;
                ++placeable;
            }
        }
    }
    const double gap = 2.0 * static_cast<double>(m_halfGap);
    const double cellWidth = placeable > 0 ? width / static_cast<double>(placeable) + gap : 0.0;
    const double cellHeight = placeable > 0 ? height / static_cast<double>(placeable) + gap : 0.0;
    const LabelRect area = m_viewportValid ? m_options.viewport : LabelRect{0.0f, 0.0f, 0.0f, 0.0f};
    m_layout.reset(area, static_cast<float>(std::min(cellWidth, 1e30)),
                   static_cast<float>(std::min(cellHeight, 1e30)), 2 * count + 16);
    m_visible.reset(m_layout);
    m_anchors.build(m_layout, m_x.data(), m_y.data(), m_anchorListed.data(), count);
}

void LabelPlacer::Impl::orderForGreedy(std::size_t count) {
    m_order.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (m_status[i] == Status::Placeable) {
            m_order.push_back(static_cast<std::uint32_t>(i));
        }
    }
    // Higher priority first; within one priority the labels shown in the
    // previous call, so that they keep their places; then request order.
    std::sort(m_order.begin(), m_order.end(), [this](std::uint32_t a, std::uint32_t b) {
        if (m_priority[a] != m_priority[b]) {
            return m_priority[a] > m_priority[b];
        }
        const bool shownA = m_previous[a] != s_hidden;
        const bool shownB = m_previous[b] != s_hidden;
        if (shownA != shownB) {
            return shownA;
        }
        return a < b;
    });
}

LabelRect LabelPlacer::Impl::getBounds(std::uint32_t label, std::size_t candidate) const {
    const LabelRect& bounds = m_shapes.getCandidate(m_shape[label], candidate).bounds;
    const float x = m_x[label];
    const float y = m_y[label];
    return {x + bounds.left, y + bounds.top, x + bounds.right, y + bounds.bottom};
}

LabelRect LabelPlacer::Impl::getGrownBounds(std::uint32_t label, std::size_t candidate) const {
    const LabelRect bounds = getBounds(label, candidate);
    return {bounds.left - m_halfGap, bounds.top - m_halfGap, bounds.right + m_halfGap,
            bounds.bottom + m_halfGap};
}

bool LabelPlacer::Impl::isAllowed(std::uint32_t label, std::size_t candidate) {
    const auto bit = static_cast<std::uint16_t>(1u << candidate);
    if ((m_checked[label] & bit) == 0) {
        const LabelRect bounds = getBounds(label, candidate);
        const bool allowed =
            isInside(bounds, m_options.viewport) &&
            !(m_options.anchorsAreObstacles && m_anchors.holdsOtherAnchor(bounds, label));
        m_checked[label] = static_cast<std::uint16_t>(m_checked[label] | bit);
        if (allowed) {
            m_allowed[label] = static_cast<std::uint16_t>(m_allowed[label] | bit);
        }
    }
    return (m_allowed[label] & bit) != 0;
}

bool LabelPlacer::Impl::conflictsWithVisible(std::uint32_t label, std::size_t candidate) const {
    const LabelRect grown = getGrownBounds(label, candidate);
    return m_visible.anyInCells(grown, [&](std::uint32_t other) {
        return other != label &&
               overlaps(grown, getGrownBounds(other, static_cast<std::size_t>(m_chosen[other])));
    });
}

void LabelPlacer::Impl::show(std::uint32_t label, std::size_t candidate) {
    m_chosen[label] = static_cast<std::int16_t>(candidate);
    m_visible.insert(label, getGrownBounds(label, candidate));
}

void LabelPlacer::Impl::hide(std::uint32_t label) {
    const std::int16_t chosen = m_chosen[label];
    if (chosen != s_hidden) {
        m_visible.remove(label, getGrownBounds(label, static_cast<std::size_t>(chosen)));
        m_chosen[label] = s_hidden;
    }
}

void LabelPlacer::Impl::placeGreedily() {
    const std::size_t candidates = m_candidates.size();
    for (const std::uint32_t label : m_order) {
        // The place shown in the previous call first, then the candidates in
        // order of preference.
        const std::int16_t previous = m_previous[label];
        if (previous != s_hidden) {
            const auto k = static_cast<std::size_t>(previous);
            if (isAllowed(label, k) && !conflictsWithVisible(label, k)) {
                show(label, k);
                continue;
            }
        }
        for (std::size_t k = 0; k < candidates; ++k) {
            if (static_cast<std::int16_t>(k) != previous && isAllowed(label, k) &&
                !conflictsWithVisible(label, k)) {
                show(label, k);
                break;
            }
        }
    }
}

void LabelPlacer::Impl::writeResult(const LabelRequest* labels, std::size_t count) {
    m_result.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        PlacedLabel& placed = m_result[i];
        const auto label = static_cast<std::uint32_t>(i);
        const std::int16_t chosen = m_chosen[i];
        if (chosen != s_hidden) {
            const auto k = static_cast<std::size_t>(chosen);
            placed.visible = true;
            placed.referencePoint = m_candidates[k];
            placed.offset = m_shapes.getCandidate(m_shape[i], k).offset;
            placed.bounds = getBounds(label, k);
            placed.hiddenReason = LabelHiddenReason::None;
            continue;
        }
        const Vector<float, 3>& anchor = labels[i].anchor;
        placed.visible = false;
        placed.referencePoint = LabelBackground::Center;
        placed.offset = Vector<float, 3>::getZeroVector();
        placed.bounds = {anchor[0], anchor[1], anchor[0], anchor[1]};
        switch (m_status[i]) {
            case Status::Placeable:
                placed.hiddenReason = LabelHiddenReason::NoRoom;
                break;
            case Status::OutOfContract:
                placed.hiddenReason = LabelHiddenReason::OutOfContract;
                break;
            case Status::NotInitialized:
                placed.hiddenReason = LabelHiddenReason::BackgroundNotInitialized;
                break;
        }
    }
}

void LabelPlacer::Impl::writeOutlines(std::size_t count) {
    m_outlinePoints.clear();
    m_outlineStarts.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::int16_t chosen = m_chosen[i];
        if (chosen == s_hidden) {
            continue;
        }
        const Vector<float, 3>* outline = nullptr;
        std::size_t points = 0;
        m_shapes.getOutline(m_shape[i], static_cast<std::size_t>(chosen), outline, points);
        m_outlineStarts.push_back(static_cast<std::uint32_t>(m_outlinePoints.size()));
        const float x = m_x[i];
        const float y = m_y[i];
        for (std::size_t p = 0; p < points; ++p) {
            m_outlinePoints.emplace_back(x + outline[p][0], y + outline[p][1], 0.0f);
        }
    }
    m_outlineStarts.push_back(static_cast<std::uint32_t>(m_outlinePoints.size()));
}

void LabelPlacer::Impl::keepHistory(std::size_t count) {
    // Only the first request with a key is in the table; its entry says
    // where it showed: the reference point + 1 (Center is 0), or s_hidden.
    m_previousReferencePoints.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int16_t chosen = m_chosen[i];
        m_previousReferencePoints[i] =
            chosen != s_hidden
                ? static_cast<std::int16_t>(m_candidates[static_cast<std::size_t>(chosen)] + 1)
                : s_hidden;
    }
    m_previousKeys.swap(m_currentKeys);
}

void LabelPlacer::Impl::appendOutlines(std::vector<Vector<float, 3>>& points,
                                       std::vector<std::uint32_t>& starts) const {
    const auto base = static_cast<std::uint32_t>(points.size());
    if (m_outlineStarts.empty()) {
        // No result yet: no outline, and the one closing entry.
        starts.push_back(base);
        return;
    }
    points.insert(points.end(), m_outlinePoints.begin(), m_outlinePoints.end());
    starts.reserve(starts.size() + m_outlineStarts.size());
    for (const std::uint32_t start : m_outlineStarts) {
        starts.push_back(base + start);
    }
}

}  // namespace Varnek
