// The yardsticks the placer is compared with, written here rather than in the
// library: the plain greedy pass and a long simulated-annealing run, both over
// the candidate rectangles the label shapes' own geometry gives; and the check
// of a placement's guarantees (no overlap, inside the view).
#ifndef VARNEK_BENCH_PLACEMENTBASELINES_H
#define VARNEK_BENCH_PLACEMENTBASELINES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/varnek.h>

#include "PlacementInstances.h"

namespace VarnekBench {

// One candidate: the reference point and the rectangle holding the whole
// outline there, relative to the anchor.
struct CandidateBox {
    Varnek::LabelBackground::ReferencePoint referencePoint;
    Varnek::LabelRect extents;
};

// The extents of getPolygon at the offset getOffset gives, per reference
// point, for one label size.
std::vector<CandidateBox> candidateBoxes(
    const Varnek::LabelBackground& background,
    const std::vector<Varnek::LabelBackground::ReferencePoint>& referencePoints,
    const Varnek::Vector<float, 3>& size);

// Which candidates of a scene lie inside the view (and, if asked, cover no
// other anchor) and which pairs of them overlap. Every label of the scene has
// the same candidate boxes.
class ConflictGraph {
public:
    ConflictGraph(const PlacementScene& scene, std::vector<CandidateBox> boxes,
                  bool anchorsAreObstacles);

    std::size_t labelCount() const { return m_labelCount; }
    std::size_t candidateCount() const { return m_boxes.size(); }
    bool isAllowed(std::size_t label, std::size_t candidate) const {
        return m_allowed[label * m_boxes.size() + candidate] != 0;
    }
    // The candidates of other labels that overlap the label at the candidate.
    struct Slot {
        std::uint32_t label;
        std::uint32_t candidate;
    };
    const Slot* conflictsBegin(std::size_t label, std::size_t candidate) const {
        return m_conflicts.data() + m_conflictStarts[label * m_boxes.size() + candidate];
    }
    const Slot* conflictsEnd(std::size_t label, std::size_t candidate) const {
        return m_conflicts.data() + m_conflictStarts[label * m_boxes.size() + candidate + 1];
    }

private:
    std::size_t m_labelCount;
    std::vector<CandidateBox> m_boxes;
    std::vector<std::uint8_t> m_allowed;
    std::vector<std::uint32_t> m_conflictStarts;
    std::vector<Slot> m_conflicts;
};

// Per label the chosen candidate's index, or s_hidden.
inline constexpr int s_hidden = -1;

// Labels by priority (higher first, equal priorities in request order), each
// at its first allowed candidate that overlaps nothing placed before; a
// previous choice (s_hidden for none) is tried first.
std::vector<int> placeGreedy(const ConflictGraph& graph, const PlacementScene& scene,
                             const std::vector<int>& previous);

// Simulated annealing from the greedy placement: movesPerLabel random moves
// per label (a label to another allowed candidate or hidden), energy the
// hidden labels plus the overlapping pairs, so that every overlap left costs
// at most one label when it is resolved; a geometric cooling schedule in 50
// stages. Ends by hiding the labels that still overlap and showing what fits.
std::vector<int> anneal(const ConflictGraph& graph, const PlacementScene& scene,
                        std::size_t movesPerLabel, std::uint64_t seed);

std::size_t countShown(const std::vector<int>& choices);

// What a placement breaks: pairs of visible labels whose bounds overlap, and
// visible labels not wholly inside the viewport.
struct PlacementCheck {
    std::size_t visible = 0;
    std::size_t overlappingPairs = 0;
    std::size_t outside = 0;
};

PlacementCheck checkPlacement(const Varnek::LabelRect& viewport,
                              const std::vector<Varnek::PlacedLabel>& placed);

// The same for a baseline's choices.
PlacementCheck checkChoices(const PlacementScene& scene, const std::vector<CandidateBox>& boxes,
                            const std::vector<int>& choices);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_PLACEMENTBASELINES_H
