// A label's candidate rectangles side by side, one lane each, so that a
// neighbour (an anchor or a visible label) is tested against all of them at
// once, in a few vector instructions and without a branch. Private to the
// library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H

#include <cstddef>
#include <cstdint>

#include <varnek/label_placement/LabelRect.h>

namespace Varnek {
namespace internal {

// Four floats side by side, and the outcome of comparing two such: all bits
// of a lane set where the comparison holds. GCC and clang lower these to the
// target's vector instructions, or to plain ones where it has none.
using FloatQuad = float __attribute__((vector_size(16)));
using OutcomeQuad = std::int32_t __attribute__((vector_size(16)));

// Room for the twelve placed reference points and Center, four per quad.
inline constexpr std::size_t s_candidateQuads = 4;
inline constexpr std::size_t s_candidateLanes = 4 * s_candidateQuads;

// A shape's distinct candidate rectangles relative to the anchor, one per
// lane (lane j in element j % 4 of quad j / 4): candidates with the same
// rectangle share its lane and every test of it. NaN in the lanes of none,
// which then pass no test.
struct RelativeCandidateRects {
    FloatQuad left[s_candidateQuads];
    FloatQuad top[s_candidateQuads];
    FloatQuad right[s_candidateQuads];
    FloatQuad bottom[s_candidateQuads];
    // The lanes in use, from the first.
    std::size_t laneCount;
    // The first candidate whose rectangle is in the lane: lanes are taken
    // in order of their first candidates.
    std::uint8_t firstCandidateOfLane[s_candidateLanes];

    // The quads that hold the lanes in use.
    std::size_t getQuadCount() const { return (laneCount + 3) / 4; }
    // Bit j set for every lane j in use.
    std::uint32_t getLaneMask() const { return (1u << laneCount) - 1u; }
};

// Per lane, the visible labels its grown rectangle overlaps: how many, and
// the last one noted (the only one where there is one).
struct CandidateBlockers {
    std::uint32_t count[s_candidateLanes];
    std::uint32_t last[s_candidateLanes];
};

inline FloatQuad quadOf(float value) {
    return FloatQuad{value, value, value, value};
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
struct CandidateRectQuads {
    static_assert(Quads >= 1 && Quads <= s_candidateQuads, "one to four quads");

    CandidateRectQuads(float x, float y, const RelativeCandidateRects& relative, float halfGap) {
        const FloatQuad xs = quadOf(x);
        const FloatQuad ys = quadOf(y);
        for (std::size_t q = 0; q < Quads; ++q) {
            left[q] = xs + relative.left[q];
            top[q] = ys + relative.top[q];
            right[q] = xs + relative.right[q];
            bottom[q] = ys + relative.bottom[q];
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
class CandidateLanes {
public:
    CandidateLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap)
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

    // Bit k set for every candidate k inside area (edges included).
    std::uint32_t getInsideMask(const LabelRect& area) const {
        const RectQuads quads(area);
        OutcomeQuad inside[Quads];
        for (std::size_t q = 0; q < Quads; ++q) {
            inside[q] = m_rects.lieInside(q, quads);
        }
        return maskOf(inside);
    }
    // Bit k set for every candidate k noted by noteAnchor, or noteLabel.
    std::uint32_t getCoveringMask() const { return maskOf(m_covering); }
    std::uint32_t getOverlappingMask() const { return maskOf(m_overlapping); }

private:
    CandidateRectQuads<Quads> m_rects;
    OutcomeQuad m_covering[Quads] = {};
    OutcomeQuad m_overlapping[Quads] = {};
};

// Which visible labels block each candidate, noted one label at a time.
template <std::size_t Quads>
class CandidateBlockerLanes {
public:
    CandidateBlockerLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap)
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
    CandidateRectQuads<Quads> m_rects;
    OutcomeQuad m_count[Quads] = {};
    OutcomeQuad m_last[Quads] = {};
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H
