#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cmath>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace {

using internal::bitsOf;

// About the bytes of the per-frame arrays of one label: its state (read,
// then in greedy order), its key and anchor's z kept for the next call's
// comparison, the two numberings, the greedy order and its sort's scratch,
// a key table at most half full, the grids' cells and the result's lists:
// some 250 bytes for round labels with a pointer at the classic density,
// some 330 for plain 30 x 7 ones, whose smaller cells are more, and a
// second key table once the placer keeps a history. The chunk holds what
// most frames write throughout, and no more: its pages are all made at
// once, by a new placer's first frame too. Arrays beyond it take blocks of
// their own (whole huge pages from 2 MiB up).
constexpr std::size_t s_frameBytesPerLabel = 320;

// A key that sorts higher priorities first; -0 and +0 sort alike.
std::uint32_t descendingKeyOf(float priority) {
    const std::uint32_t bits = bitsOf(priority + 0.0f);
    const std::uint32_t ascending = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return ~ascending;
}

}  // namespace

void LabelPlacer::Impl::readRequests(const LabelRequest* labels, std::size_t count) {
    // The arrays of a frame larger than any before come from one chunk
    // (where they are large enough to share huge pages): a vector grown from
    // size s takes room for the larger of 2s and count.
    if (count > m_arenaLabels) {
        m_arena.prepare(std::max(count, 2 * m_arenaLabels) * s_frameBytesPerLabel);
        m_arenaLabels = count;
    }
    m_read.resize(count);
    m_shapes.beginFrame(count);
    m_currentKeys.reset(count);
    // What of the requests the labels' state does not hold is kept as they
    // are read, with their backgrounds' state, for the next call to know
    // whether it repeats them.
    m_lastKeys.resize(count);
    m_lastDepths.resize(count);
    m_lastBackgroundRuns.clear();
    m_lastBackgroundRuns.reserve(count);
    m_lastSizeRuns.clear();
    m_lastSizeRuns.reserve(count);

    bool firstPriority = true;
    float priority = 0.0f;
    m_mixedPriorities = false;
    const LabelBackground* lastBackground = nullptr;
    Vector<float, 3> lastSize = Vector<float, 3>::getZeroVector();
    std::uint32_t lastShape = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const LabelRequest& request = labels[i];
        // The key table is read at scattered places.
        if (i + internal::s_farPrefetchDistance < count) {
            m_currentKeys.prefetch(labels[i + internal::s_farPrefetchDistance].key);
        }
        const LabelBackground* background =
            request.background != nullptr ? request.background : m_defaultBackground.get();
        m_lastKeys[i] = request.key;
        m_lastDepths[i] = request.anchor[2];
        if (i == 0 || request.background != m_lastBackgroundRuns.back().background) {
            m_lastBackgroundRuns.push_back({static_cast<RequestIndex>(i), request.background,
                                            BackgroundState::of(background)});
        }
        if (i == 0 || !internal::sameBits(request.size, m_lastSizeRuns.back().size)) {
            m_lastSizeRuns.push_back({static_cast<RequestIndex>(i), request.size});
        }
        const float x = request.anchor[0];
        const float y = request.anchor[1];
        LabelState& state = m_read[i];
        state = {x, y, request.priority, 0, s_hidden, s_hidden, 0, Status::Placeable, 0, 0, 0,
                 0, 0};
        // With fades, the label drawn in the previous call, if any.
        const std::uint32_t drawn = m_drawnPlaces ? m_drawnOfInView[i] : s_notDrawn;
        if (drawn != s_notDrawn) {
            state.drawnInPlace = m_drawn[drawn].fadingFor == LabelHiddenReason::None ? 1 : 0;
        }

        const bool inContract =
            m_viewportValid && background != nullptr && std::isfinite(x) && std::isfinite(y) &&
            internal::hasPlaceableSizeAndPriority(request.size, request.priority);
        if (!inContract) {
            state.status = Status::OutOfContract;
            continue;
        }
        if (!background->isInitialized()) {
            state.status = Status::NotInitialized;
            continue;
        }
        if (drawn != s_notDrawn &&
            fadesOut(m_drawn[drawn], LabelHiddenReason::None) == FadeOut::Apart) {
            state.status = Status::SteppedBack;
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
        const bool firstWithKey = m_currentKeys.insert(request.key, label) == label;
        if (firstWithKey && !m_previousKeys.isEmpty()) {
            const std::uint32_t before = m_previousKeys.find(request.key);
            if (before != internal::KeyTable::s_absent) {
                const std::int16_t shown = m_previousReferencePoints[before];
                if (shown != s_hidden) {
                    state.previous = m_candidateOfReferencePoint[static_cast<std::size_t>(shown)];
                }
            }
        }
        // A label still drawn (fading out) that is placed again tries its
        // drawn place first, as a label shown in the previous call does.
        if (firstWithKey && state.previous == s_hidden && m_drawnPlaces) {
            state.previous = getDrawnPlace(label);
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
    // One block for the frame, not one per doubling.
    m_order.reserve(count);
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
    // that lies inside it, nor, beyond a leader's clearance, near a leader:
    // it is not listed among the anchors. A body lies in the viewport, so
    // its leader's clearance is at most the viewport's (twice, for rounding).
    const LabelRect& viewport = m_options.viewport;
    const float reach = 2.0f * getLeaderClearance(viewport);
    std::size_t next = 0;
    const auto number = [&](std::size_t request) {
        const LabelState& state = m_read[request];
        m_labels[next] = state;
        m_requestOf[next] = static_cast<std::uint32_t>(request);
        m_labelOf[request] = static_cast<std::uint32_t>(next);
        m_anchorX[next] = state.x;
        m_anchorY[next] = state.y;
        m_anchorListed[next] =
            std::isfinite(state.x) && std::isfinite(state.y) && state.x >= viewport.left - reach &&
            state.x <= viewport.right + reach && state.y >= viewport.top - reach &&
            state.y <= viewport.bottom + reach;
        ++next;
    };
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        // The labels' requests are scattered: their state is read and their
        // number written far ahead of time.
        if (i + internal::s_farPrefetchDistance < m_order.size()) {
            const RequestIndex ahead = m_order[i + internal::s_farPrefetchDistance].label;
            internal::prefetchForRead(&m_read[ahead]);
            internal::prefetchForWrite(&m_labelOf[ahead]);
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
    // By key, then by label: the keys are listed in label order.
    internal::sortByKey(m_order, m_orderScratch);
    VARNEK_ASSERT(internal::isSortedByKeyAndLabel(m_order));
}

}  // namespace Varnek
