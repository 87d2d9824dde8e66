#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <array>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace {

// The search runs in stages of equal work. A move that shows a label by
// hiding two is taken with a chance that starts at s_firstChance and is
// multiplied by s_cooling from stage to stage (products only: the same bits
// everywhere); a move that hides more is never taken.
constexpr std::uint64_t s_stages = 32;
// A stage's work at effort 1: this many tests per label hidden when the
// search starts, and s_leastStageWork more; each step of effort doubles it.
// How long the search runs then follows how much it has to do: a frame
// with few hidden labels ends early, whatever work it was allowed, which
// only bounds it.
constexpr std::uint64_t s_stageWorkPerHiddenLabel = 8;
constexpr std::uint64_t s_leastStageWork = 256;
constexpr double s_firstChance = 0.25;
constexpr double s_cooling = 0.85;
// After this much work per hidden label (and a little more) without a move
// taken, the search checks whether any move can be taken at all.
constexpr std::uint64_t s_movesPerCheck = 4;
constexpr std::uint64_t s_leastCheckWindow = 64;
// countEjected's answer for a place the search may not take.
constexpr std::size_t s_cannotTake = 3;
// 2^64: a chance as a bound on the generator's output.
constexpr double s_twoToThe64 = 18446744073709551616.0;

// The number of set bits (a label has at most a few lanes).
std::uint32_t countLanes(std::uint32_t lanes) {
    std::uint32_t count = 0;
    for (; lanes != 0; lanes &= lanes - 1) {
        ++count;
    }
    return count;
}

}  // namespace

bool LabelPlacer::Impl::mayEject(LabelIndex label, float priority) const {
    const LabelState& state = m_labels[label];
    return state.locked == 0 && !isSettled(label) && state.priority <= priority;
}

void LabelPlacer::Impl::addHidden(LabelIndex label) {
    LabelState& state = m_labels[label];
    if (state.pooled == 0 && state.status == Status::Placeable) {
        state.pooled = 1;
        m_hiddenLabels.push_back(label);
    }
}

std::size_t LabelPlacer::Impl::countEjected(LabelIndex label, CandidateIndex k) {
    const std::size_t count = collectBlockers(label, k, 2);
    if (count > 2) {
        return count;
    }
    const float priority = m_labels[label].priority;
    for (std::size_t b = 0; b < count; ++b) {
        if (!mayEject(m_blockers[b], priority)) {
            return s_cannotTake;
        }
    }
    return count;
}

bool LabelPlacer::Impl::isAnyMovePossible() {
    for (const LabelIndex label : m_hiddenLabels) {
        const LabelState& state = m_labels[label];
        if (state.chosen != s_hidden) {
            continue;
        }
        const internal::RelativeCandidateRects& rects = m_shapes.getCandidateRects(state.shape);
        for (std::uint32_t allowed = getAllowedLanes(label); allowed != 0; allowed &= allowed - 1) {
            const auto lane = static_cast<std::size_t>(internal::countTrailingZeros(allowed));
            if (countEjected(label, rects.firstCandidateOfLane[lane]) <= 2) {
                return true;
            }
        }
    }
    return false;
}

bool LabelPlacer::Impl::pickHidden(LabelIndex& label) {
    while (!m_hiddenLabels.empty()) {
        const auto pick = static_cast<std::size_t>(nextRandom() % m_hiddenLabels.size());
        label = m_hiddenLabels[pick];
        LabelState& state = m_labels[label];
        if (state.chosen == s_hidden && getAllowedLanes(label) != 0) {
            return true;
        }
        // Shown again, or with no place at all: out of the pool until it is
        // hidden again.
        state.pooled = 0;
        m_hiddenLabels[pick] = m_hiddenLabels.back();
        m_hiddenLabels.pop_back();
    }
    return false;
}

void LabelPlacer::Impl::returnToBest() {
    m_journaling = false;
    while (!m_journal.empty()) {
        const JournalEntry entry = m_journal.back();
        m_journal.pop_back();
        if (m_labels[entry.label].chosen != s_hidden) {
            hide(entry.label);
            markMoved(entry.label);
            addHidden(entry.label);
        }
        if (entry.chosen != s_hidden) {
            show(entry.label, static_cast<std::size_t>(entry.chosen));
        }
    }
    m_journaling = true;
}

// From the chains' result: a random hidden label takes a random allowed
// place, and the labels there, of no higher priority and not settled from
// the previous call, are hidden and look for another place through a chain.
// A move that shows as many labels as it hides is always taken, one that
// hides one more only by chance, less often as the search goes on. The best
// arrangement met is the one kept.
void LabelPlacer::Impl::search() {
    if (m_work == 0) {
        return;
    }
    m_random = 0x5EED5EED5EED5EEDull;
    for (const LabelIndex label : m_hiddenLabels) {
        m_labels[label].pooled = 1;
    }
    // Every show and hide since the best arrangement; returning to it
    // undoes them. A bounded journal: a search that wanders that far
    // returns to the best and goes on from there.
    const std::size_t journalBound = 4 * m_placeable + 64;
    m_journal.clear();
    m_journal.reserve(2 * journalBound);
    m_journaling = true;
    std::size_t best = m_shown;
    const std::uint64_t stageWork =
        std::min(m_work / s_stages + 1,
                 (s_stageWorkPerHiddenLabel * m_hiddenLabels.size() + s_leastStageWork)
                     << getEffortDoublings());
    // The work beyond the last stage is left unspent.
    const std::uint64_t total = std::min(m_work, s_stages * stageWork);
    m_work = total;
    double chance = s_firstChance;
    std::uint64_t nextStage = total - stageWork;
    std::array<LabelIndex, 2> ejected{};
    LabelIndex label = 0;
    // A frame whose hidden labels are blocked by labels the search may not
    // hide (settled, of higher priority, or more than two) ends at once; the
    // check costs about a move per hidden label and place, so it is made
    // again only after as much work without a move.
    if (!isAnyMovePossible()) {
        m_journaling = false;
        return;
    }
    std::uint64_t lastMove = m_work;
    const std::uint64_t checkWindow = s_movesPerCheck * m_hiddenLabels.size() + s_leastCheckWindow;
    while (m_work > 0 && pickHidden(label)) {
        if (m_work < nextStage) {
            chance *= s_cooling;
            nextStage = nextStage > stageWork ? nextStage - stageWork : 0;
        }
        // A random allowed place: the r-th lane of the allowed ones (a label
        // picked has one).
        std::uint32_t allowed = getAllowedLanes(label);
        const std::uint32_t lanes = countLanes(allowed);
        if (lanes == 0) {
            continue;
        }
        for (auto r = static_cast<std::uint32_t>(nextRandom() % lanes); r > 0; --r) {
            allowed &= allowed - 1;
        }
        LabelState& state = m_labels[label];
        const auto lane = static_cast<std::size_t>(internal::countTrailingZeros(allowed));
        const CandidateIndex k = m_shapes.getCandidateRects(state.shape).firstCandidateOfLane[lane];
        if (!spend()) {
            break;
        }
        const std::size_t count = countEjected(label, k);
        if (count > 2 ||
            (count == 2 && static_cast<double>(nextRandom()) >= chance * s_twoToThe64)) {
            if (lastMove - m_work >= checkWindow) {
                // Moves have failed for a while: if none can be taken,
                // none ever will, as the arrangement stays as it is.
                if (!isAnyMovePossible()) {
                    break;
                }
                lastMove = m_work;
            }
            continue;
        }
        std::copy(m_blockers.begin(), m_blockers.end(), ejected.begin());
        for (std::size_t b = 0; b < count; ++b) {
            hide(ejected[b]);
        }
        show(label, k);
        state.locked = 1;
        for (std::size_t b = 0; b < count; ++b) {
            insertWithChain(ejected[b], 1, false);
        }
        state.locked = 0;
        lastMove = m_work;
        if (m_shown > best) {
            best = m_shown;
            m_journal.clear();
        } else if (m_journal.size() > journalBound) {
            returnToBest();
        }
    }
    if (m_shown < best) {
        returnToBest();
    }
    m_journal.clear();
    m_journaling = false;
    VARNEK_ASSERT(m_shown >= best);
}

}  // namespace Varnek
