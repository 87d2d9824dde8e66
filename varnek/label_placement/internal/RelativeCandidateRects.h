// A label's distinct candidate rectangles relative to its anchor, side by
// side in lanes, and what a test of the lanes finds: the form in which the
// placer tests a neighbour against all of a label's candidates at once.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_RELATIVECANDIDATERECTS_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_RELATIVECANDIDATERECTS_H

#include <cstddef>
#include <cstdint>

namespace Varnek {
namespace internal {

// Room for the twelve placed reference points and Center, in quads of four
// lanes.
inline constexpr std::size_t s_candidateQuads = 4;
inline constexpr std::size_t s_candidateLanes = 4 * s_candidateQuads;

// A shape's distinct candidate rectangles relative to the anchor, one per
// lane: candidates with the same rectangle share its lane and every test of
// it. NaN in the lanes of none, which then pass no test. Lanes 4q to 4q + 3
// form quad q, aligned to be read as one vector.
struct RelativeCandidateRects {
    alignas(16) float left[s_candidateLanes];
    alignas(16) float top[s_candidateLanes];
    alignas(16) float right[s_candidateLanes];
    alignas(16) float bottom[s_candidateLanes];
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

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_RELATIVECANDIDATERECTS_H
