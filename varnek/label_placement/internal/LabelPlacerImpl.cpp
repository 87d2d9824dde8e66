#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include <varnek/label_placement/internal/Prefetch.h>
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

// The work the improvement may do per placeable label at effort 1, counted
// in candidate tests; each step of effort doubles it.
constexpr std::uint64_t s_workPerLabelAtEffortOne = 1;
// And at least this much in all: a frame of a few thousand labels takes
// little time either way, and its chains then reach as far as before.
constexpr std::uint64_t s_leastWorkAtEffortOne = 4096;
constexpr int s_maxEffortDoublings = 24;

bool isFinite(const Vector<float, 3>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

bool isValidViewport(const LabelRect& viewport) {
    return std::isfinite(viewport.left) && std::isfinite(viewport.top) &&
           std::isfinite(viewport.right) && std::isfinite(viewport.bottom) &&
           viewport.left <= viewport.right && viewport.top <= viewport.bottom;
}

// Whether two rectangles share an interior point; touching edges do not.
bool overlaps(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A key that sorts higher priorities first; -0 and +0 sort alike.
std::uint32_t descendingKeyOf(float priority) {
    const std::uint32_t bits = bitsOf(priority + 0.0f);
    const std::uint32_t ascending = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return ~ascending;
}

bool sameRequest(const LabelRequest& a, const LabelRequest& b) {
    return a.key == b.key && a.background == b.background &&
           bitsOf(a.priority) == bitsOf(b.priority) && bitsOf(a.anchor[0]) == bitsOf(b.anchor[0]) &&
           bitsOf(a.anchor[1]) == bitsOf(b.anchor[1]) &&
           bitsOf(a.anchor[2]) == bitsOf(b.anchor[2]) && bitsOf(a.size[0]) == bitsOf(b.size[0]) &&
           bitsOf(a.size[1]) == bitsOf(b.size[1]) && bitsOf(a.size[2]) == bitsOf(b.size[2]);
}

// Calls run with quads (at most four, at least one) as a constant the lanes
// can be sized by.
template <typename Run>
decltype(auto) withCandidateQuads(std::size_t quads, Run&& run) {
    switch (quads) {
        case 0:
        case 1:
            return run(std::integral_constant<std::size_t, 1>{});
        case 2:
            return run(std::integral_constant<std::size_t, 2>{});
        case 3:
            return run(std::integral_constant<std::size_t, 3>{});
        default:
            return run(std::integral_constant<std::size_t, 4>{});
    }
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
    m_hasLastCall = false;
}

void LabelPlacer::Impl::forgetHistory() noexcept {
    m_previousKeys.clear();
    m_hasLastCall = false;
    m_shapes.clear();
}

const std::vector<PlacedLabel>& LabelPlacer::Impl::place(const LabelRequest* labels,
                                                         std::size_t count) {
    try {
        placeFrame(labels, count);
    } catch (...) {
        // Whatever was half built is dropped: the next call starts afresh.
        forgetHistory();
        m_result.clear();
        m_outlinePointCount = 0;
        m_outlineStarts.clear();
        m_outlineLabels.clear();
        throw;
    }
    return m_result;
}

void LabelPlacer::Impl::placeFrame(const LabelRequest* labels, std::size_t count) {
    // An unchanged frame keeps its result: placing it again would only let
    // the improvement go on where the previous call stopped.
    if (isSameAsLastCall(labels, count)) {
        return;
    }
    m_hasLastCall = false;
    readRequests(labels, count);
    layOutGrids(count);
    orderForGreedy(count);
    placeGreedily();
    improve();
    restoreGuarantees();
    writeResult(labels, count);
    keepHistory();
    // A label that stepped back comes back in the next call, even if the
    // frame is the same: that call is placed anew.
    m_hasLastCall = !m_anySteppedBack;
}

bool LabelPlacer::Impl::isSameAsLastCall(const LabelRequest* labels, std::size_t count) const {
    if (!m_hasLastCall || count != m_lastRequests.size()) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        // A background initialised again since is another shape.
        const LabelBackground* background =
            request.background != nullptr ? request.background : m_defaultBackground.get();
        if (!sameRequest(request, m_lastRequests[i]) ||
            !BackgroundState::of(background).isSameAs(m_lastBackgroundStates[i])) {
            return false;
        }
    }
    return true;
}

void LabelPlacer::Impl::readRequests(const LabelRequest* labels, std::size_t count) {
    m_read.resize(count);
    m_shapes.beginFrame(count);
    m_currentKeys.reset(count);
    // The requests are kept as they are read, with their backgrounds' state,
    // for the next call to know whether it repeats them.
    m_lastRequests.resize(count);
    m_lastBackgroundStates.resize(count);
    const LabelBackground* keptBackground = nullptr;
    BackgroundState keptState = BackgroundState::of(nullptr);

    bool firstPriority = true;
    float priority = 0.0f;
    m_mixedPriorities = false;
    const LabelBackground* lastBackground = nullptr;
    Vector<float, 3> lastSize = Vector<float, 3>::getZeroVector();
    std::uint32_t lastShape = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        // The key table is read at scattered places.
        if (i + internal::s_prefetchDistance < count) {
            m_currentKeys.prefetch(labels[i + internal::s_prefetchDistance].key);
        }
        const LabelBackground* background =
            request.background != nullptr ? request.background : m_defaultBackground.get();
        m_lastRequests[i] = request;
        // Neighbouring requests mostly share their background.
        if (i == 0 || background != keptBackground) {
            keptBackground = background;
            keptState = BackgroundState::of(background);
        }
        m_lastBackgroundStates[i] = keptState;
        const float x = request.anchor[0];
        const float y = request.anchor[1];
        LabelState& state = m_read[i];
        state = {x, y, request.priority, 0, s_hidden, s_hidden, 0, Status::Placeable, 0, 0};

        const bool inContract = m_viewportValid && background != nullptr && std::isfinite(x) &&
                                std::isfinite(y) && isFinite(request.size) &&
                                request.size[0] >= 0.0f && request.size[1] >= 0.0f &&
                                request.size[2] >= 0.0f && !std::isnan(request.priority);
        if (!inContract) {
            state.status = Status::OutOfContract;
            continue;
        }
        if (!background->isInitialized()) {
            state.status = Status::NotInitialized;
            continue;
        }
        // Neighbouring requests often share their shape.
        if (background != lastBackground || bitsOf(request.size[0]) != bitsOf(lastSize[0]) ||
            bitsOf(request.size[1]) != bitsOf(lastSize[1]) ||
            bitsOf(request.size[2]) != bitsOf(lastSize[2])) {
            lastShape = m_shapes.find(*background, request.size);
            lastBackground = background;
            lastSize = request.size;
        }
        state.shape = lastShape;
        if (firstPriority) {
            priority = request.priority;
            m_lowestPriority = request.priority;
            firstPriority = false;
        } else if (request.priority != priority) {
            m_mixedPriorities = true;
        }
        m_lowestPriority = std::min(m_lowestPriority, request.priority);

        // The history goes to the first request with the key.
        const auto label = static_cast<std::uint32_t>(i);
        // A fresh placer, or one that forgot its history, has nothing to find.
        if (m_currentKeys.insert(request.key, label) == label && !m_previousKeys.isEmpty()) {
            const std::uint32_t before = m_previousKeys.find(request.key);
            if (before != internal::KeyTable::s_absent) {
                const std::int16_t shown = m_previousReferencePoints[before];
                if (shown != s_hidden) {
                    state.previous = m_candidateOfReferencePoint[static_cast<std::size_t>(shown)];
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
    double reach = 0.0;
    std::size_t placeable = 0;
    std::uint32_t lastShape = internal::KeyTable::s_absent;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelState& state = m_read[i];
        if (state.status != Status::Placeable || m_candidates.empty()) {
            continue;
        }
        const LabelRect& bounds = m_shapes.getCandidate(state.shape, 0).bounds;
        const double w = static_cast<double>(bounds.right) - static_cast<double>(bounds.left);
        const double h = static_cast<double>(bounds.bottom) - static_cast<double>(bounds.top);
        if (std::isfinite(w) && std::isfinite(h)) {
            width += w;
            height += h;
            ++placeable;
        }
        if (state.shape != lastShape) {
            lastShape = state.shape;
            for (std::size_t k = 0; k < m_candidates.size(); ++k) {
                const LabelRect& b = m_shapes.getCandidate(state.shape, k).bounds;
                for (const float v : {b.left, b.top, b.right, b.bottom}) {
                    const double magnitude = std::fabs(static_cast<double>(v));
                    reach = std::isfinite(magnitude) && magnitude > reach ? magnitude : reach;
                }
            }
        }
    }
    const double gap = 2.0 * static_cast<double>(m_halfGap);
    m_reach = static_cast<float>(std::min(reach + gap, 1e30));
    const double cellWidth = placeable > 0 ? width / static_cast<double>(placeable) + gap : 0.0;
    const double cellHeight = placeable > 0 ? height / static_cast<double>(placeable) + gap : 0.0;
    const LabelRect area = m_viewportValid ? m_options.viewport : LabelRect{0.0f, 0.0f, 0.0f, 0.0f};
    const std::size_t maxCells = 2 * count + 16;
    m_layout.reset(area, static_cast<float>(std::min(cellWidth, 1e30)),
                   static_cast<float>(std::min(cellHeight, 1e30)), maxCells);
    // The visible labels' cells are twice as large each way: a label is
    // listed in fewer of them and the grid is a quarter of the memory, which
    // the searches read faster than they skip the few more labels per cell.
    m_visibleLayout.reset(area, static_cast<float>(std::min(2.0 * cellWidth, 1e30)),
                          static_cast<float>(std::min(2.0 * cellHeight, 1e30)), maxCells,
                          internal::VisibleLabelGrid::s_maxCellsPerAxis);
    // However the labels lie, the grid's listings fit in this room.
    std::size_t entries = 0;
    lastShape = internal::KeyTable::s_absent;
    std::size_t touched = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelState& state = m_read[i];
        if (state.status != Status::Placeable) {
            continue;
        }
        if (state.shape != lastShape) {
            lastShape = state.shape;
            touched = 0;
            for (std::size_t k = 0; k < m_candidates.size(); ++k) {
                const LabelRect& b = m_shapes.getCandidate(state.shape, k).bounds;
                touched = std::max(touched, m_visibleLayout.getMaximalCellsTouched(
                                                b.right - b.left + 2.0f * m_halfGap,
                                                b.bottom - b.top + 2.0f * m_halfGap));
            }
        }
        entries += touched;
    }
    m_visible.reset(m_visibleLayout, entries);
}

void LabelPlacer::Impl::orderForGreedy(std::size_t count) {
    // Higher priority first; within one priority the labels shown in the
    // previous call, so that they keep their places; then by grid cell in
    // row order, so that labels placed one after another are neighbours;
    // then request order.
    m_order.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const LabelState& state = m_read[i];
        if (state.status != Status::Placeable) {
            continue;
        }
        const std::uint64_t shownLast = state.previous != s_hidden ? 0u : 1u;
        const auto cell = static_cast<std::uint64_t>(
            m_layout.getCellIndexOfPoint(state.x, state.y) & 0x7FFFFFFFu);
        const std::uint64_t key = static_cast<std::uint64_t>(descendingKeyOf(state.priority))
                                      << 32 |
                                  shownLast << 31 | cell;
        m_order.push_back({key, static_cast<std::uint32_t>(i)});
    }
    sortOrder();

    // The labels are numbered in that order from here on, the others after
    // them in request order: the passes then read the labels' data one
    // after another.
    m_placeable = m_order.size();
    m_labels.resize(count);
    m_requestOf.resize(count);
    m_labelOf.resize(count);
    m_anchorX.resize(count);
    m_anchorY.resize(count);
    m_anchorListed.resize(count);
    // An anchor outside the viewport cannot lie strictly inside a label
    // that lies inside it: it is not listed among the anchors.
    const LabelRect& viewport = m_options.viewport;
    std::size_t next = 0;
    const auto number = [&](std::size_t request) {
        const LabelState& state = m_read[request];
        m_labels[next] = state;
        m_requestOf[next] = static_cast<std::uint32_t>(request);
        m_labelOf[request] = static_cast<std::uint32_t>(next);
        m_anchorX[next] = state.x;
        m_anchorY[next] = state.y;
        m_anchorListed[next] = std::isfinite(state.x) && std::isfinite(state.y) &&
                               state.x >= viewport.left && state.x <= viewport.right &&
                               state.y >= viewport.top && state.y <= viewport.bottom;
        ++next;
    };
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        if (i + internal::s_prefetchDistance < m_order.size()) {
            internal::prefetchForRead(&m_read[m_order[i + internal::s_prefetchDistance].label]);
        }
        number(m_order[i].label);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (m_read[i].status != Status::Placeable) {
            number(i);
        }
    }
    m_anchors.build(m_layout, m_anchorX.data(), m_anchorY.data(), m_anchorListed.data(), count);
}

void LabelPlacer::Impl::sortOrder() {
    // By key, then by label: a stable radix sort of the keys, which are
    // listed in label order, from the lowest digit. Only the bits in which
    // keys differ are sorted (the priority of a frame of one priority costs
    // nothing), in as few passes of at most s_radixBits bits as they need.
    std::uint64_t differing = 0;
    for (const OrderKey& entry : m_order) {
        differing |= entry.key ^ m_order.front().key;
    }
    if (differing == 0) {
        return;
    }
    const auto low = static_cast<unsigned int>(__builtin_ctzll(differing));
    const auto span = static_cast<unsigned int>(64 - __builtin_clzll(differing)) - low;
    const unsigned int passes = (span + s_radixBits - 1) / s_radixBits;
    const unsigned int bits = (span + passes - 1) / passes;
    const std::size_t buckets = std::size_t{1} << bits;
    const std::uint64_t digitMask = buckets - 1;
    m_orderScratch.resize(m_order.size());
    std::array<std::uint32_t, std::size_t{1} << s_radixBits> starts;
    for (unsigned int pass = 0; pass < passes; ++pass) {
        const unsigned int shift = low + pass * bits;
        std::fill(starts.begin(), starts.begin() + static_cast<std::ptrdiff_t>(buckets), 0u);
        for (const OrderKey& entry : m_order) {
            ++starts[(entry.key >> shift) & digitMask];
        }
        std::uint32_t start = 0;
        for (std::size_t bucket = 0; bucket < buckets; ++bucket) {
            const std::uint32_t n = starts[bucket];
            starts[bucket] = start;
            start += n;
        }
        for (const OrderKey& entry : m_order) {
            m_orderScratch[starts[(entry.key >> shift) & digitMask]++] = entry;
        }
        m_order.swap(m_orderScratch);
    }
}

std::size_t LabelPlacer::Impl::collectBlockers(std::uint32_t label, std::size_t candidate,
                                               std::size_t limit) {
    m_blockers.clear();
    const LabelRect grown = getGrownBounds(label, candidate);
    m_visible.anyLabelInCells(grown, [&](const internal::VisibleLabelGrid::Entry& entry) {
        if (entry.label == label || !overlaps(grown, entry.rect)) {
            return false;
        }
        m_blockers.push_back(entry.label);
        return m_blockers.size() > limit;
    });
    // The cells list their entries in no particular order.
    std::sort(m_blockers.begin(), m_blockers.end());
    return m_blockers.size();
}

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
        if (m_options.anchorsAreObstacles) {
            m_anchors.forEachNear(area, [&](float x, float y, std::uint32_t other) {
                if (other != label) {
                    lanes.noteAnchor(x, y);
                }
            });
        }
        const std::uint32_t allowed = lanes.getInsideMask(m_options.viewport) &
                                      ~lanes.getCoveringMask() & rects.getLaneMask();
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

void LabelPlacer::Impl::findBlockers(std::uint32_t label,
                                     internal::CandidateBlockers& blockers) const {
    const LabelState& state = m_labels[label];
    const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
    withCandidateQuads(rects.getQuadCount(), [&](auto quads) {
        internal::CandidateBlockerLanes<decltype(quads)::value> lanes(state.x, state.y, rects,
                                                                      m_halfGap);
        // A label is listed in every cell it touches: it is counted once.
        m_visible.forEachInCells(grow(getSpanArea(label)),
                                 [&](const internal::VisibleLabelGrid::Entry& entry, bool first) {
                                     if (first && entry.label != label) {
                                         lanes.noteLabel(entry.rect, entry.label);
                                     }
                                 });
        lanes.copyTo(blockers);
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

bool LabelPlacer::Impl::spend() {
    if (m_work == 0) {
        return false;
    }
    --m_work;
    return true;
}

// Shows the hidden label at a candidate whose only blocker can move to
// another place, itself through a chain of at most depth such moves. Every
// move is undone when the chain fails, so the visible labels only grow.
bool LabelPlacer::Impl::insertWithChain(std::uint32_t label, int depth, bool moveSettled) {
    // The visible labels round the label are read once: every failed chain
    // is undone, so they are the same for every candidate. Without work
    // left there is nothing to try.
    if (m_work == 0) {
        return false;
    }
    internal::CandidateBlockers blockers;
    findBlockers(label, blockers);
    const std::uint32_t shape = m_labels[label].shape;
    const internal::CandidateShape* shapes = m_shapes.getCandidates(shape);
    const std::size_t candidates = m_candidates.size();
    for (std::size_t k = 0; k < candidates; ++k) {
        // A candidate with the bounds of one tried before would fare as it
        // did: it costs no work.
        if (!m_shapes.isFirstWithItsBounds(shape, k)) {
            continue;
        }
        if (!spend()) {
            return false;
        }
        if (!isAllowed(label, k)) {
            continue;
        }
        const std::size_t lane = shapes[k].lane;
        if (blockers.count[lane] == 0) {
            show(label, k);
            return true;
        }
        if (blockers.count[lane] == 1 && depth > 0 &&
            displaceBlocker(label, k, blockers.last[lane], depth - 1, moveSettled)) {
            return true;
        }
    }
    return false;
}

// Shows the label at candidate k in place of its one blocker, which then
// looks for another place through relocate, moving at most depth others;
// undone when it finds none. Labels of the chain are locked.
bool LabelPlacer::Impl::displaceBlocker(std::uint32_t label, std::size_t k, std::uint32_t blocker,
                                        int depth, bool moveSettled) {
    if (m_labels[blocker].locked != 0 || (!moveSettled && isSettled(blocker))) {
        return false;
    }
    const std::int16_t from = m_labels[blocker].chosen;
    hide(blocker);
    show(label, k);
    const std::uint8_t labelWasLocked = m_labels[label].locked;
    m_labels[label].locked = 1;
    m_labels[blocker].locked = 1;
    const bool moved = relocate(blocker, from, depth, moveSettled);
    m_labels[label].locked = labelWasLocked;
    m_labels[blocker].locked = 0;
    if (moved) {
        markMoved(blocker);
        return true;
    }
    hide(label);
    show(blocker, static_cast<std::size_t>(from));
    return false;
}

// Shows a label just hidden from its place `from` at another candidate,
// moving at most depth other labels out of the way.
bool LabelPlacer::Impl::relocate(std::uint32_t label, std::int16_t from, int depth,
                                 bool moveSettled) {
    // Without work left there is nothing to try.
    if (m_work == 0) {
        return false;
    }
    // The labels round this one: every failed move below is undone, so
    // they stay the same for every candidate.
    internal::CandidateBlockers blockers;
    findBlockers(label, blockers);
    // Candidates with the bounds of one tried before, or of the place the
    // label left (the chain's label overlaps it), would fare as those did.
    const std::uint32_t shape = m_labels[label].shape;
    const internal::CandidateShape* shapes = m_shapes.getCandidates(shape);
    const std::uint8_t fromLane = shapes[static_cast<std::size_t>(from)].lane;
    const auto isNew = [&](std::size_t k) {
        return m_shapes.isFirstWithItsBounds(shape, k) && shapes[k].lane != fromLane;
    };
    const std::size_t candidates = m_candidates.size();
    for (std::size_t k = 0; k < candidates; ++k) {
        if (!isNew(k)) {
            continue;
        }
        if (!spend()) {
            break;
        }
        if (isAllowed(label, k) && blockers.count[shapes[k].lane] == 0) {
            show(label, k);
            return true;
        }
    }
    if (depth == 0) {
        return false;
    }
    for (std::size_t k = 0; k < candidates; ++k) {
        if (isNew(k) && isAllowed(label, k) && spend() && blockers.count[shapes[k].lane] == 1 &&
            displaceBlocker(label, k, blockers.last[shapes[k].lane], depth - 1, moveSettled)) {
            return true;
        }
    }
    return false;
}

int LabelPlacer::Impl::getChainDepth() const {
    const int effort = m_options.effort;
    return effort >= 4 ? 3 : effort >= 2 ? 2 : 1;
}

std::uint64_t LabelPlacer::Impl::nextRandom() {
    // splitmix64: a fixed sequence from a fixed seed.
    std::uint64_t z = (m_random += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Swaps on a plateau: a hidden label takes the place of its only blocker,
// of no higher priority and not settled, which then looks for a place of
// its own. The number shown never drops; the walk finds places a chain from
// the greedy result cannot reach.
void LabelPlacer::Impl::walkPlateau() {
    m_random = 0x5EED5EED5EED5EEDull;
    const std::size_t candidates = m_candidates.size();
    while (!m_hiddenLabels.empty() && m_work > 0) {
        const std::size_t pick = static_cast<std::size_t>(nextRandom() % m_hiddenLabels.size());
        const std::uint32_t label = m_hiddenLabels[pick];
        if (m_labels[label].chosen != s_hidden) {
            m_hiddenLabels[pick] = m_hiddenLabels.back();
            m_hiddenLabels.pop_back();
            continue;
        }
        const std::size_t first = static_cast<std::size_t>(nextRandom() % candidates);
        for (std::size_t step = 0; step < candidates; ++step) {
            const std::size_t k = (first + step) % candidates;
            if (!spend() || !isAllowed(label, k) || collectBlockers(label, k, 1) != 1) {
                continue;
            }
            const std::uint32_t blocker = m_blockers[0];
            if (isSettled(blocker) || m_labels[blocker].priority > m_labels[label].priority) {
                continue;
            }
            hide(blocker);
            show(label, k);
            markMoved(blocker);
            m_labels[label].locked = 1;
            if (!insertWithChain(blocker, 1, false)) {
                m_hiddenLabels[pick] = blocker;
            }
            m_labels[label].locked = 0;
            // The place the blocker left may fit another hidden label.
            insertAround(blocker);
            break;
        }
    }
}

void LabelPlacer::Impl::markMoved(std::uint32_t label) {
    if (m_labels[label].moved == 0) {
        m_labels[label].moved = 1;
        m_moved.push_back(label);
    }
}

LabelRect LabelPlacer::Impl::getNeighbourhood(std::uint32_t label) const {
    // Every candidate of the label lies within m_reach of its anchor, and
    // so does every candidate of a label that can overlap one of them.
    const float reach = 2.0f * m_reach;
    const LabelState& state = m_labels[label];
    return {state.x - reach, state.y - reach, state.x + reach, state.y + reach};
}

void LabelPlacer::Impl::insertAround(std::uint32_t moved) {
    m_anchors.forEachIn(getNeighbourhood(moved), [&](std::uint32_t label) {
        const LabelState& state = m_labels[label];
        if (state.status == Status::Placeable && state.chosen == s_hidden && m_work > 0) {
            insertWithChain(label, 1, false);
        }
    });
}

void LabelPlacer::Impl::improve() {
    m_moved.clear();
    m_moved.reserve(m_labels.size());
    m_blockers.reserve(m_labels.size());
    m_hiddenLabels.reserve(m_placeable);
    const int effort = m_options.effort;
    if (effort <= 0 || m_candidates.empty()) {
        return;
    }
    const int doublings = std::min(effort - 1, s_maxEffortDoublings);
    m_work = std::max(static_cast<std::uint64_t>(m_placeable) * s_workPerLabelAtEffortOne,
                      s_leastWorkAtEffortOne)
             << static_cast<unsigned int>(doublings);
    const int depth = getChainDepth();

    m_hiddenLabels.clear();
    for (std::size_t label = 0; label < m_placeable; ++label) {
        if (m_labels[label].chosen == s_hidden && m_labels[label].status == Status::Placeable) {
            m_hiddenLabels.push_back(static_cast<std::uint32_t>(label));
        }
    }
    // Chains that move only labels new to their place first, so that
    // labels shown before stay where they were; then any label.
    for (const bool moveSettled : {false, true}) {
        for (const std::uint32_t label : m_hiddenLabels) {
            if (m_labels[label].chosen == s_hidden) {
                insertWithChain(label, depth, moveSettled);
            }
        }
    }
    if (effort >= 3) {
        m_hiddenLabels.erase(std::remove_if(m_hiddenLabels.begin(), m_hiddenLabels.end(),
                                            [this](std::uint32_t label) {
                                                return m_labels[label].chosen != s_hidden;
                                            }),
                             m_hiddenLabels.end());
        walkPlateau();
    }
}

// After labels moved or were hidden, a hidden label near a place they left
// may have room there, or be blocked there by lower priorities only: it is
// shown, and those lower labels hidden (which may free further places).
void LabelPlacer::Impl::restoreGuarantees() {
    const std::size_t candidates = m_candidates.size();
    for (std::size_t m = 0; m < m_moved.size(); ++m) {
        m_anchors.forEachIn(getNeighbourhood(m_moved[m]), [&](std::uint32_t label) {
            const LabelState& state = m_labels[label];
            if (state.status != Status::Placeable || state.chosen != s_hidden ||
                state.allowedLanes == 0) {
                return;
            }
            internal::CandidateBlockers blockers;
            findBlockers(label, blockers);
            const internal::CandidateShape* shapes = m_shapes.getCandidates(state.shape);
            for (std::size_t k = 0; k < candidates; ++k) {
                if (!isAllowed(label, k)) {
                    continue;
                }
                if (blockers.count[shapes[k].lane] == 0) {
                    show(label, k);
                    return;
                }
                // Only labels of lower priority may be pushed aside.
                if (!m_mixedPriorities) {
                    continue;
                }
                collectBlockers(label, k, m_labels.size());
                bool yields = false;
                for (const std::uint32_t blocker : m_blockers) {
                    yields = yields || m_labels[blocker].priority >= state.priority;
                }
                if (yields) {
                    continue;
                }
                for (const std::uint32_t blocker : m_blockers) {
                    hide(blocker);
                    markMoved(blocker);
                }
                show(label, k);
                return;
            }
        });
    }
}

void LabelPlacer::Impl::writeResult(const LabelRequest* labels, std::size_t count) {
    // The labels are read in request order, one after another in no order
    // of theirs: everything the later passes need of a request is written
    // here, in request order. The history: only the first request with a
    // key is in the table; its entry says where it showed: the reference
    // point + 1 (Center is 0), or s_hidden. The outlines: an outline relative
    // to the anchor depends on the shape and candidate only; the shape cache
    // keeps it, and every visible label notes its anchor and outline, for
    // appendOutlines to add.
    m_result.resize(count);
    m_previousReferencePoints.resize(count);
    m_outlineStarts.clear();
    m_outlineStarts.reserve(m_placeable + 1);
    m_outlineLabels.clear();
    m_outlineLabels.reserve(m_placeable);
    std::size_t outlinePoints = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + internal::s_prefetchDistance < count) {
            internal::prefetchForRead(&m_labels[m_labelOf[i + internal::s_prefetchDistance]]);
        }
        PlacedLabel& placed = m_result[i];
        const std::uint32_t label = m_labelOf[i];
        const LabelState& state = m_labels[label];
        m_previousReferencePoints[i] =
            state.chosen != s_hidden ? static_cast<std::int16_t>(
                                           m_candidates[static_cast<std::size_t>(state.chosen)] + 1)
                                     : s_hidden;
        if (state.chosen != s_hidden) {
            const auto k = static_cast<std::size_t>(state.chosen);
            placed.visible = true;
            placed.referencePoint = m_candidates[k];
            placed.offset = m_shapes.getCandidate(state.shape, k).offset;
            placed.bounds = getBounds(label, k);
            placed.hiddenReason = LabelHiddenReason::None;
            const internal::ShapeCache::OutlineRange outline = m_shapes.findOutline(state.shape, k);
            m_outlineStarts.push_back(static_cast<std::uint32_t>(outlinePoints));
            m_outlineLabels.push_back({state.x, state.y, outline});
            outlinePoints += outline.count;
            continue;
        }
        const Vector<float, 3>& anchor = labels[i].anchor;
        placed.visible = false;
        placed.referencePoint = LabelBackground::Center;
        placed.offset = Vector<float, 3>::getZeroVector();
        placed.bounds = {anchor[0], anchor[1], anchor[0], anchor[1]};
        switch (state.status) {
            case Status::Placeable:
                placed.hiddenReason = LabelHiddenReason::NoRoom;
                break;
            case Status::OutOfContract:
                placed.hiddenReason = LabelHiddenReason::OutOfContract;
                break;
            case Status::NotInitialized:
                placed.hiddenReason = LabelHiddenReason::BackgroundNotInitialized;
                break;
            case Status::SteppedBack:
                placed.hiddenReason = LabelHiddenReason::PlaceTaken;
                break;
        }
    }
    m_outlinePointCount = outlinePoints;
    m_outlineStarts.push_back(static_cast<std::uint32_t>(outlinePoints));
}

void LabelPlacer::Impl::keepHistory() {
    // writeResult wrote where each request showed.
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
    // Growing by half at least, so that appending to a vector again and
    // again does not copy it every time.
    const std::size_t room = points.size() + m_outlinePointCount;
    if (points.capacity() < room) {
        points.reserve(std::max(room, points.capacity() + points.capacity() / 2));
    }
    const Vector<float, 3>* relative = m_shapes.getOutlinePoints();
    for (const OutlineLabel& label : m_outlineLabels) {
        const Vector<float, 3>* outline = relative + label.outline.first;
        for (std::uint32_t p = 0; p < label.outline.count; ++p) {
            points.push_back({label.x + outline[p][0], label.y + outline[p][1], 0.0f});
        }
    }
    const std::size_t first = starts.size();
    starts.resize(first + m_outlineStarts.size());
    for (std::size_t i = 0; i < m_outlineStarts.size(); ++i) {
        starts[first + i] = base + m_outlineStarts[i];
    }
}

}  // namespace Varnek
