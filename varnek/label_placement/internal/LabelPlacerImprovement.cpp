#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>

#include <varnek/label_placement/internal/PlacementPrimitives.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace {

// The work the improvement may do per placeable label at effort 1, counted
// in candidate tests; each step of effort doubles it.
constexpr std::uint64_t s_workPerLabelAtEffortOne = 1;
// A smaller frame gets at least the time its greedy pass leaves of a frame
// of about 10,000 labels: this much work in all, less s_testsPerGreedyLabel
// for each placeable label.
constexpr std::uint64_t s_frameWorkAtEffortOne = 40960;
constexpr std::uint64_t s_testsPerGreedyLabel = 4;

}  // namespace

using internal::overlaps;
using internal::withCandidateQuads;

std::size_t LabelPlacer::Impl::collectBlockers(LabelIndex label, CandidateIndex candidate,
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

void LabelPlacer::Impl::findBlockers(LabelIndex label,
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
bool LabelPlacer::Impl::insertWithChain(LabelIndex label, int depth, bool moveSettled) {
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
        const LaneIndex lane = shapes[k].lane;
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
bool LabelPlacer::Impl::displaceBlocker(LabelIndex label, CandidateIndex k, LabelIndex blocker,
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
bool LabelPlacer::Impl::relocate(LabelIndex label, std::int16_t from, int depth, bool moveSettled) {
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
    const auto isNew = [&](CandidateIndex k) {
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

unsigned int LabelPlacer::Impl::getEffortDoublings() const {
    VARNEK_ASSERT(m_options.effort >= 1);
    return static_cast<unsigned int>(std::min(m_options.effort, LabelPlacementOptions::maxEffort) -
                                     1);
}

std::uint64_t LabelPlacer::Impl::nextRandom() {
    // splitmix64: a fixed sequence from a fixed seed.
    std::uint64_t z = (m_random += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void LabelPlacer::Impl::markMoved(LabelIndex label) {
    if (m_labels[label].moved == 0) {
        m_labels[label].moved = 1;
        m_moved.push_back(label);
    }
}

LabelRect LabelPlacer::Impl::getNeighbourhood(LabelIndex label) const {
    // Every candidate of the label lies within m_reach of its anchor, and
    // so does every candidate of a label that can overlap one of them.
    const float reach = 2.0f * m_reach;
    const LabelState& state = m_labels[label];
    return {state.x - reach, state.y - reach, state.x + reach, state.y + reach};
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
    const std::uint64_t placeable = m_placeable;
    const std::uint64_t greedyTests = placeable * s_testsPerGreedyLabel;
    m_work =
        std::max(placeable * s_workPerLabelAtEffortOne << getEffortDoublings(),
                 greedyTests < s_frameWorkAtEffortOne ? s_frameWorkAtEffortOne - greedyTests : 0);
    const int depth = getChainDepth();

    m_hiddenLabels.clear();
    for (std::size_t label = 0; label < m_placeable; ++label) {
        if (m_labels[label].chosen == s_hidden && m_labels[label].status == Status::Placeable) {
            m_hiddenLabels.push_back(static_cast<std::uint32_t>(label));
        }
    }
    // Chains that move only labels new to their place first, so that
    // labels shown before stay where they were; then any label. Once the
    // work is spent no chain can start, and the search has nothing to do.
    for (const bool moveSettled : {false, true}) {
        for (std::size_t h = 0; h < m_hiddenLabels.size() && m_work > 0; ++h) {
            const LabelIndex label = m_hiddenLabels[h];
            if (m_labels[label].chosen == s_hidden) {
                insertWithChain(label, depth, moveSettled);
            }
        }
    }
    if (m_work == 0) {
        return;
    }
    m_hiddenLabels.erase(
        std::remove_if(m_hiddenLabels.begin(), m_hiddenLabels.end(),
                       [this](LabelIndex label) { return m_labels[label].chosen != s_hidden; }),
        m_hiddenLabels.end());
    search();
}

// After labels moved or were hidden, a hidden label near a place they left
// may have room there, or be blocked there by lower priorities only: it is
// shown, and those lower labels hidden (which may free further places).
void LabelPlacer::Impl::cleanUp() {
    const std::size_t candidates = m_candidates.size();
    // The labels moved lie anywhere: the anchors round each are asked for
    // ahead, in steps (the label, where its rows of anchors start, the rows).
    constexpr std::size_t rowsAhead = internal::s_prefetchDistance;
    constexpr std::size_t startsAhead = 2 * rowsAhead;
    constexpr std::size_t labelAhead = 3 * rowsAhead;
    for (std::size_t m = 0; m < m_moved.size(); ++m) {
        if (m + labelAhead < m_moved.size()) {
            internal::prefetchForRead(&m_labels[m_moved[m + labelAhead]]);
        }
        if (m + startsAhead < m_moved.size()) {
            m_anchors.prefetchRowStarts(getNeighbourhood(m_moved[m + startsAhead]));
        }
        if (m + rowsAhead < m_moved.size()) {
            const LabelRect ahead = getNeighbourhood(m_moved[m + rowsAhead]);
            m_anchors.prefetchRows(ahead);
            m_visible.prefetchCells(ahead);
        }
        m_anchors.forEachIn(getNeighbourhood(m_moved[m]), [&](LabelIndex label) {
            const LabelState& state = m_labels[label];
            if (state.status != Status::Placeable || state.chosen != s_hidden ||
                state.checked != 0 || getAllowedLanes(label) == 0) {
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
                for (const LabelIndex blocker : m_blockers) {
                    yields = yields || m_labels[blocker].priority >= state.priority;
                }
                if (yields) {
                    continue;
                }
                for (const LabelIndex blocker : m_blockers) {
                    hide(blocker);
                    markMoved(blocker);
                }
                show(label, k);
                return;
            }
            // Where all labels share one priority the clean-up only shows
            // labels, so that a label with no place now has none later
            // either: it is searched once, however many moved labels it
            // lies near.
            m_labels[label].checked = static_cast<std::uint8_t>(!m_mixedPriorities);
        });
    }
}

}  // namespace Varnek
