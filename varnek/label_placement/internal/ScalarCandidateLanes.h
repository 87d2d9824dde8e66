// The candidate lanes' tests as a plain loop over the lanes: the route of a
// compiler without vector types, and the reference the vector route is
// checked against. Each lane's rectangle and comparisons are those of the
// vector route, in the same order, so both give the same bits. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_SCALARCANDIDATELANES_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_SCALARCANDIDATELANES_H

#include <cstddef>
#include <cstdint>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/RelativeCandidateRects.h>

namespace Varnek {
namespace internal {

// The candidates of one label placed round its anchor, in the first
// 4 * Quads lanes, and the same grown by the gap.
template <std::size_t Quads>
struct ScalarCandidateRects {
    static_assert(Quads >= 1 && Quads <= s_candidateQuads, "one to four quads");
    static constexpr std::size_t s_lanes = 4 * Quads;

    ScalarCandidateRects(float x, float y, const RelativeCandidateRects& relative, float halfGap) {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            left[j] = x + relative.left[j];
            top[j] = y + relative.top[j];
            right[j] = x + relative.right[j];
            bottom[j] = y + relative.bottom[j];
            grownLeft[j] = left[j] - halfGap;
            grownTop[j] = top[j] - halfGap;
            grownRight[j] = right[j] + halfGap;
            grownBottom[j] = bottom[j] + halfGap;
        }
    }

    // Whether the rectangle of lane j holds (x, y) strictly inside.
    bool holds(std::size_t j, float x, float y) const {
        return left[j] < x && x < right[j] && top[j] < y && y < bottom[j];
    }
    // Whether the rectangle of lane j holds a point of area (edges
    // included) strictly inside.
    bool reaches(std::size_t j, const LabelRect& area) const {
        return left[j] < area.right && area.left < right[j] && top[j] < area.bottom &&
               area.top < bottom[j];
    }
    // Whether the grown rectangle of lane j shares an interior point with rect.
    bool overlaps(std::size_t j, const LabelRect& rect) const {
        return grownLeft[j] < rect.right && rect.left < grownRight[j] &&
               grownTop[j] < rect.bottom && rect.top < grownBottom[j];
    }
    // Whether the rectangle of lane j lies inside area (edges included).
    bool liesInside(std::size_t j, const LabelRect& area) const {
        return left[j] >= area.left && right[j] <= area.right && top[j] >= area.top &&
               bottom[j] <= area.bottom;
    }

    float left[s_lanes];
    float top[s_lanes];
    float right[s_lanes];
    float bottom[s_lanes];
    float grownLeft[s_lanes];
    float grownTop[s_lanes];
    float grownRight[s_lanes];
    float grownBottom[s_lanes];
};

// Which candidates are free: the anchors they cover and the visible labels
// they overlap, noted one neighbour at a time. Masks have bit j for lane j.
template <std::size_t Quads>
class ScalarCandidateLanes {
public:
    ScalarCandidateLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap)
        : m_rects(x, y, relative, halfGap) {}

    void noteAnchor(float x, float y) {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            m_covering |= static_cast<std::uint32_t>(m_rects.holds(j, x, y)) << j;
        }
    }
    void noteLabel(const LabelRect& rect) {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            m_overlapping |= static_cast<std::uint32_t>(m_rects.overlaps(j, rect)) << j;
        }
    }

    bool mayNoteAnchorIn(const LabelRect& area) const {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            if ((m_covering >> j & 1u) == 0 && m_rects.reaches(j, area)) {
                return true;
            }
        }
        return false;
    }

    std::uint32_t getOverlapMask(const LabelRect& rect) const {
        std::uint32_t mask = 0;
        for (std::size_t j = 0; j < s_lanes; ++j) {
            mask |= static_cast<std::uint32_t>(m_rects.overlaps(j, rect)) << j;
        }
        return mask;
    }
    std::uint32_t getInsideMask(const LabelRect& area) const {
        std::uint32_t mask = 0;
        for (std::size_t j = 0; j < s_lanes; ++j) {
            mask |= static_cast<std::uint32_t>(m_rects.liesInside(j, area)) << j;
        }
        return mask;
    }
    std::uint32_t getCoveringMask() const { return m_covering; }
    std::uint32_t getOverlappingMask() const { return m_overlapping; }

private:
    static constexpr std::size_t s_lanes = ScalarCandidateRects<Quads>::s_lanes;
    ScalarCandidateRects<Quads> m_rects;
    std::uint32_t m_covering = 0;
    std::uint32_t m_overlapping = 0;
};

// Which visible labels block each candidate, noted one label at a time.
template <std::size_t Quads>
class ScalarCandidateBlockerLanes {
public:
    ScalarCandidateBlockerLanes(float x, float y, const RelativeCandidateRects& relative,
                                float halfGap)
        : m_rects(x, y, relative, halfGap) {}

    void noteLabel(const LabelRect& rect, std::uint32_t label) {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            if (m_rects.overlaps(j, rect)) {
                ++m_count[j];
                m_last[j] = label;
            }
        }
    }

    void copyTo(CandidateBlockers& blockers) const {
        for (std::size_t j = 0; j < s_lanes; ++j) {
            blockers.count[j] = m_count[j];
            blockers.last[j] = m_last[j];
        }
    }

private:
    static constexpr std::size_t s_lanes = ScalarCandidateRects<Quads>::s_lanes;
    ScalarCandidateRects<Quads> m_rects;
    std::uint32_t m_count[s_lanes] = {};
    std::uint32_t m_last[s_lanes] = {};
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_SCALARCANDIDATELANES_H
