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

// A shape's candidate rectangles relative to the anchor, candidate k in
// lane k % 4 of quad k / 4; NaN in the lanes of no candidate, which then
// pass no test.
struct RelativeCandidateRects {
    FloatQuad left[s_candidateQuads];
    FloatQuad top[s_candidateQuads];
    FloatQuad right[s_candidateQuads];
    FloatQuad bottom[s_candidateQuads];
};

// The candidates of one label placed round its anchor, in the first Quads
// quads, with what was noted against them. Meant to live on the stack for
// one label's test: the compiler then keeps it in registers.
template <std::size_t Quads>
class CandidateLanes {
public:
    static_assert(Quads >= 1 && Quads <= s_candidateQuads, "one to four quads");

    // The rectangles round (x, y), and the same grown by halfGap on every
    // side; nothing noted yet.
    CandidateLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap) {
        const FloatQuad xs = quadOf(x);
        const FloatQuad ys = quadOf(y);
        for (std::size_t q = 0; q < Quads; ++q) {
            m_left[q] = xs + relative.left[q];
            m_top[q] = ys + relative.top[q];
            m_right[q] = xs + relative.right[q];
            m_bottom[q] = ys + relative.bottom[q];
            m_grownLeft[q] = m_left[q] - halfGap;
            m_grownTop[q] = m_top[q] - halfGap;
            m_grownRight[q] = m_right[q] + halfGap;
            m_grownBottom[q] = m_bottom[q] + halfGap;
            m_covering[q] = OutcomeQuad{};
            m_overlapping[q] = OutcomeQuad{};
        }
    }

    // Notes every candidate that holds (x, y) strictly inside.
    void noteAnchor(float x, float y) {
        const FloatQuad xs = quadOf(x);
        const FloatQuad ys = quadOf(y);
        for (std::size_t q = 0; q < Quads; ++q) {
            m_covering[q] |=
                (m_left[q] < xs) & (xs < m_right[q]) & (m_top[q] < ys) & (ys < m_bottom[q]);
        }
    }
    // Notes every candidate whose grown rectangle shares an interior point
    // with rect (a visible label's grown rectangle).
    void noteLabel(const LabelRect& rect) {
        const FloatQuad left = quadOf(rect.left);
        const FloatQuad top = quadOf(rect.top);
        const FloatQuad right = quadOf(rect.right);
        const FloatQuad bottom = quadOf(rect.bottom);
        for (std::size_t q = 0; q < Quads; ++q) {
            m_overlapping[q] |= (m_grownLeft[q] < right) & (left < m_grownRight[q]) &
                                (m_grownTop[q] < bottom) & (top < m_grownBottom[q]);
        }
    }

    // Bit k set for every candidate k inside area (edges included).
    std::uint32_t getInsideMask(const LabelRect& area) const {
        const FloatQuad left = quadOf(area.left);
        const FloatQuad top = quadOf(area.top);
        const FloatQuad right = quadOf(area.right);
        const FloatQuad bottom = quadOf(area.bottom);
        OutcomeQuad inside[Quads];
        for (std::size_t q = 0; q < Quads; ++q) {
            inside[q] = (m_left[q] >= left) & (m_right[q] <= right) & (m_top[q] >= top) &
                        (m_bottom[q] <= bottom);
        }
        return maskOf(inside);
    }
    // Bit k set for every candidate k noted by noteAnchor, or noteLabel.
    std::uint32_t getCoveringMask() const { return maskOf(m_covering); }
    std::uint32_t getOverlappingMask() const { return maskOf(m_overlapping); }

private:
    static FloatQuad quadOf(float value) { return FloatQuad{value, value, value, value}; }
    static std::uint32_t maskOf(const OutcomeQuad (&outcomes)[Quads]) {
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

    FloatQuad m_left[Quads];
    FloatQuad m_top[Quads];
    FloatQuad m_right[Quads];
    FloatQuad m_bottom[Quads];
    FloatQuad m_grownLeft[Quads];
    FloatQuad m_grownTop[Quads];
    FloatQuad m_grownRight[Quads];
    FloatQuad m_grownBottom[Quads];
    OutcomeQuad m_covering[Quads];
    OutcomeQuad m_overlapping[Quads];
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H
