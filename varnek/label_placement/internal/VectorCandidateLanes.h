// The candidate lanes' tests four lanes at a time, in the compiler's vector
// types (GNU vector extensions, found by a configure-time check that defines
// VARNEK_HAS_VECTOR_LANES): a neighbour costs a few vector instructions and
// no branch, whatever it hits. Elsewhere ScalarCandidateLanes.h gives the
// same bits. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_VECTORCANDIDATELANES_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_VECTORCANDIDATELANES_H

#if VARNEK_HAS_VECTOR_LANES

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/RelativeCandidateRects.h>

namespace Varnek {
namespace internal {

// Four floats side by side, and the outcome of comparing two such: all bits
// of a lane set where the comparison holds. GCC and clang lower these to the
// target's vector instructions, or to plain ones where it has none.
using FloatQuad = float __attribute__((vector_size(16)));
using OutcomeQuad = std::int32_t __attribute__((vector_size(16)));

inline FloatQuad quadOf(float value) {
    return FloatQuad{value, value, value, value};
}

// Lanes 4q to 4q + 3 of a side.
inline FloatQuad quadAt(const float (&lanes)[s_candidateLanes], std::size_t q) {
    FloatQuad quad;
    std::memcpy(&quad, lanes + 4 * q, sizeof quad);
    return quad;
}

// A rectangle's sides, each in every lane.
struct RectQuads {
    explicit RectQuads(const LabelRect& rect)
        : left(quadOf(rect.left)),
          top(quadOf(rect.top)),
          right(quadOf(rect.right)),
          bottom(quadOf(rect.bottom)) {}
    FloatQuad left;
    FloatQuad top;
    FloatQuad right;
    FloatQuad bottom;
};

// The candidates of one label placed round its anchor, in the first Quads
// quads, and the same grown by the gap. Meant to live on the stack for one
// label's test: the compiler then keeps them in registers.
template <std::size_t Quads>
struct VectorCandidateRects {
    static_assert(Quads >= 1 && Quads <= s_candidateQuads, "one to four quads");

    VectorCandidateRects(float x, float y, const RelativeCandidateRects& relative, float halfGap) {
        const FloatQuad xs = quadOf(x);
        const FloatQuad ys = quadOf(y);
        for (std::size_t q = 0; q < Quads; ++q) {
            left[q] = xs + quadAt(relative.left, q);
            top[q] = ys + quadAt(relative.top, q);
            right[q] = xs + quadAt(relative.right, q);
            bottom[q] = ys + quadAt(relative.bottom, q);
            grownLeft[q] = left[q] - halfGap;
            grownTop[q] = top[q] - halfGap;
            grownRight[q] = right[q] + halfGap;
            grownBottom[q] = bottom[q] + halfGap;
        }
    }

    // Where the rectangles of quad q hold (xs, ys) strictly inside.
    OutcomeQuad hold(std::size_t q, const FloatQuad& xs, const FloatQuad& ys) const {
        return (left[q] < xs) & (xs < right[q]) & (top[q] < ys) & (ys < bottom[q]);
    }
    // Where the rectangles of quad q hold a point of area (edges included)
    // strictly inside.
    OutcomeQuad reach(std::size_t q, const RectQuads& area) const {
        return (left[q] < area.right) & (area.left < right[q]) & (top[q] < area.bottom) &
               (area.top < bottom[q]);
    }
    // Where the grown rectangles of quad q share an interior point with rect.
    OutcomeQuad overlap(std::size_t q, const RectQuads& rect) const {
        return (grownLeft[q] < rect.right) & (rect.left < grownRight[q]) &
               (grownTop[q] < rect.bottom) & (rect.top < grownBottom[q]);
    }
    // Where the rectangles of quad q lie inside area (edges included).
    OutcomeQuad lieInside(std::size_t q, const RectQuads& area) const {
        return (left[q] >= area.left) & (right[q] <= area.right) & (top[q] >= area.top) &
               (bottom[q] <= area.bottom);
    }

    FloatQuad left[Quads];
    FloatQuad top[Quads];
    FloatQuad right[Quads];
    FloatQuad bottom[Quads];
    FloatQuad grownLeft[Quads];
    FloatQuad grownTop[Quads];
    FloatQuad grownRight[Quads];
    FloatQuad grownBottom[Quads];
};

// Bit k set for every lane k set in the first Quads quads.
template <std::size_t Quads>
std::uint32_t maskOf(const OutcomeQuad (&outcomes)[Quads]) {
    std::uint32_t mask = 0;
    for (std::size_t q = 0; q < Quads; ++q) {
        // Each lane's bit, then every lane ORed into lane 0.
        const OutcomeQuad bits = outcomes[q] & OutcomeQuad{1, 2, 4, 8};
        const OutcomeQuad pairs = bits | __builtin_shufflevector(bits, bits, 2, 3, 0, 1);
        const OutcomeQuad all = pairs | __builtin_shufflevector(pairs, pairs, 1, 0, 3, 2);
        mask |= static_cast<std::uint32_t>(all[0]) << (4 * q);
    }
    return mask;
}

// Which candidates are free: the anchors they cover and the visible labels
// they overlap, noted one neighbour at a time.
template <std::size_t Quads>
class VectorCandidateLanes {
public:
    VectorCandidateLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap)
        : m_rects(x, y, relative, halfGap) {}

    // Notes every candidate that holds (x, y) strictly inside.
    void noteAnchor(float x, float y) {
        const FloatQuad xs = quadOf(x);
        const FloatQuad ys = quadOf(y);
        for (std::size_t q = 0; q < Quads; ++q) {
            m_covering[q] |= m_rects.hold(q, xs, ys);
        }
    }
    // Notes every candidate whose grown rectangle shares an interior point
    // with rect (a visible label's grown rectangle).
    void noteLabel(const LabelRect& rect) {
        const RectQuads other(rect);
        for (std::size_t q = 0; q < Quads; ++q) {
            m_overlapping[q] |= m_rects.overlap(q, other);
        }
    }

    // Whether an anchor in area (edges included) may note a candidate not
    // yet noted: whether such a candidate holds a point of area strictly
    // inside.
    bool mayNoteAnchorIn(const LabelRect& area) const {
        const RectQuads quads(area);
        OutcomeQuad reached = {};
        for (std::size_t q = 0; q < Quads; ++q) {
            reached |= m_rects.reach(q, quads) & ~m_covering[q];
        }
        return (reached[0] | reached[1] | reached[2] | reached[3]) != 0;
    }

    // Bit k set for every candidate k whose grown rectangle shares an
    // interior point with rect, without noting it.
    std::uint32_t getOverlapMask(const LabelRect& rect) const {
        const RectQuads other(rect);
        return maskOfQuads([&](std::size_t q) { return m_rects.overlap(q, other); });
    }
    // Bit k set for every candidate k inside area (edges included).
    std::uint32_t getInsideMask(const LabelRect& area) const {
        const RectQuads quads(area);
        return maskOfQuads([&](std::size_t q) { return m_rects.lieInside(q, quads); });
    }
    // Bit k set for every candidate k noted by noteAnchor, or noteLabel.
    std::uint32_t getCoveringMask() const { return maskOf(m_covering); }
    std::uint32_t getOverlappingMask() const { return maskOf(m_overlapping); }

private:
    // The mask of the outcomes outcomeOf(q) gives for every quad q.
    template <typename OutcomeOf>
    static std::uint32_t maskOfQuads(OutcomeOf&& outcomeOf) {
        OutcomeQuad outcomes[Quads];
        for (std::size_t q = 0; q < Quads; ++q) {
            outcomes[q] = outcomeOf(q);
        }
        return maskOf(outcomes);
    }

    VectorCandidateRects<Quads> m_rects;
    OutcomeQuad m_covering[Quads] = {};
    OutcomeQuad m_overlapping[Quads] = {};
};

// Which visible labels block each candidate, noted one label at a time.
template <std::size_t Quads>
class VectorCandidateBlockerLanes {
public:
    VectorCandidateBlockerLanes(float x, float y, const RelativeCandidateRects& relative,
                                float halfGap)
        : m_rects(x, y, relative, halfGap) {}

    // Notes a visible label (its grown rectangle), which must be noted once:
    // counted for every candidate whose grown rectangle it overlaps, and kept
    // as the last one there.
    void noteLabel(const LabelRect& rect, std::uint32_t label) {
        const RectQuads other(rect);
        const auto value = static_cast<std::int32_t>(label);
        const OutcomeQuad labels = {value, value, value, value};
        for (std::size_t q = 0; q < Quads; ++q) {
            const OutcomeQuad blocks = m_rects.overlap(q, other);
            // A lane that holds is -1 (all bits set).
            m_count[q] -= blocks;
            m_last[q] = (m_last[q] & ~blocks) | (labels & blocks);
        }
    }

    // What was noted, for the first 4 * Quads lanes.
    void copyTo(CandidateBlockers& blockers) const {
        for (std::size_t q = 0; q < Quads; ++q) {
            for (std::size_t lane = 0; lane < 4; ++lane) {
                blockers.count[4 * q + lane] = static_cast<std::uint32_t>(m_count[q][lane]);
                blockers.last[4 * q + lane] = static_cast<std::uint32_t>(m_last[q][lane]);
            }
        }
    }

private:
    VectorCandidateRects<Quads> m_rects;
    OutcomeQuad m_count[Quads] = {};
    OutcomeQuad m_last[Quads] = {};
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_HAS_VECTOR_LANES

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_VECTORCANDIDATELANES_H
