// A label's candidate rectangles side by side, one lane each, so that a
// neighbour (an anchor or a visible label) is tested against all of them at
// once. The vector route where the compiler has vector types, the plain loop
// elsewhere; both give the same bits, and debug builds check the one against
// the other at every answer. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H

#include <cstddef>
#include <cstdint>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/RelativeCandidateRects.h>
#include <varnek/label_placement/internal/ScalarCandidateLanes.h>
#include <varnek/label_placement/internal/VectorCandidateLanes.h>

namespace Varnek {
namespace internal {

#if VARNEK_HAS_VECTOR_LANES && defined(VARNEK_ENABLE_ASSERTS)

// Both routes side by side: every answer of the vector route is checked
// against the plain loop's.
template <std::size_t Quads>
class CheckedCandidateLanes {
public:
    CheckedCandidateLanes(float x, float y, const RelativeCandidateRects& relative, float halfGap)
        : m_vector(x, y, relative, halfGap), m_scalar(x, y, relative, halfGap) {}

    void noteAnchor(float x, float y) {
        m_vector.noteAnchor(x, y);
        m_scalar.noteAnchor(x, y);
    }
    void noteLabel(const LabelRect& rect) {
        m_vector.noteLabel(rect);
        m_scalar.noteLabel(rect);
    }
    bool mayNoteAnchorIn(const LabelRect& area) const {
        const bool may = m_vector.mayNoteAnchorIn(area);
        VARNEK_ASSERT(may == m_scalar.mayNoteAnchorIn(area));
        return may;
    }
    std::uint32_t getOverlapMask(const LabelRect& rect) const {
        const std::uint32_t mask = m_vector.getOverlapMask(rect);
        VARNEK_ASSERT(mask == m_scalar.getOverlapMask(rect));
        return mask;
    }
    std::uint32_t getInsideMask(const LabelRect& area) const {
        const std::uint32_t mask = m_vector.getInsideMask(area);
        VARNEK_ASSERT(mask == m_scalar.getInsideMask(area));
        return mask;
    }
    std::uint32_t getCoveringMask() const {
        const std::uint32_t mask = m_vector.getCoveringMask();
        VARNEK_ASSERT(mask == m_scalar.getCoveringMask());
        return mask;
    }
    std::uint32_t getOverlappingMask() const {
        const std::uint32_t mask = m_vector.getOverlappingMask();
        VARNEK_ASSERT(mask == m_scalar.getOverlappingMask());
        return mask;
    }

private:
    VectorCandidateLanes<Quads> m_vector;
    ScalarCandidateLanes<Quads> m_scalar;
};

template <std::size_t Quads>
class CheckedCandidateBlockerLanes {
public:
    CheckedCandidateBlockerLanes(float x, float y, const RelativeCandidateRects& relative,
                                 float halfGap)
        : m_vector(x, y, relative, halfGap), m_scalar(x, y, relative, halfGap) {}

    void noteLabel(const LabelRect& rect, std::uint32_t label) {
        m_vector.noteLabel(rect, label);
        m_scalar.noteLabel(rect, label);
    }
    void copyTo(CandidateBlockers& blockers) const {
        m_vector.copyTo(blockers);
        CandidateBlockers scalar;
        m_scalar.copyTo(scalar);
        for (std::size_t j = 0; j < 4 * Quads; ++j) {
            VARNEK_ASSERT(blockers.count[j] == scalar.count[j]);
            VARNEK_ASSERT(blockers.last[j] == scalar.last[j]);
        }
    }

private:
    VectorCandidateBlockerLanes<Quads> m_vector;
    ScalarCandidateBlockerLanes<Quads> m_scalar;
};

#endif

// Which candidates are free: the anchors they cover and the visible labels
// they overlap, noted one neighbour at a time. Bit j of a mask is lane j of
// the first 4 * Quads; lanes without a rectangle (NaN) are never set.
//   noteAnchor(x, y): notes every lane that holds (x, y) strictly inside.
//   mayNoteAnchorIn(area): whether an anchor in area (edges included) may
//     note a lane not yet noted, one that holds a point of area strictly
//     inside.
//   noteLabel(rect): notes every lane whose grown rectangle shares an
//     interior point with rect (a visible label's grown rectangle).
//   getOverlapMask(rect): the lanes noteLabel(rect) would note, not noted.
//   getInsideMask(area): the lanes that lie inside area, edges included.
//   getCoveringMask(), getOverlappingMask(): the lanes noted by noteAnchor,
//     by noteLabel.
// And which visible labels block each lane, noted one label at a time:
//   noteLabel(rect, label): a visible label, noted once, counted for every
//     lane whose grown rectangle it overlaps and kept as the last one there.
//   copyTo(blockers): what was noted, for the first 4 * Quads lanes.
#if VARNEK_HAS_VECTOR_LANES && defined(VARNEK_ENABLE_ASSERTS)
template <std::size_t Quads>
using CandidateLanes = CheckedCandidateLanes<Quads>;
template <std::size_t Quads>
using CandidateBlockerLanes = CheckedCandidateBlockerLanes<Quads>;
#elif VARNEK_HAS_VECTOR_LANES
template <std::size_t Quads>
using CandidateLanes = VectorCandidateLanes<Quads>;
template <std::size_t Quads>
using CandidateBlockerLanes = VectorCandidateBlockerLanes<Quads>;
#else
template <std::size_t Quads>
using CandidateLanes = ScalarCandidateLanes<Quads>;
template <std::size_t Quads>
using CandidateBlockerLanes = ScalarCandidateBlockerLanes<Quads>;
#endif

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_CANDIDATELANES_H
