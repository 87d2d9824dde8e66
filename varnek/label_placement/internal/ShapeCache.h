// The geometry of a label at every candidate reference point, relative to
// its anchor: computed once per background state and label size and kept
// across frames, since it does not depend on where the anchor is. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_SHAPECACHE_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_SHAPECACHE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/CandidateLanes.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// One candidate of one shape, relative to the anchor.
struct CandidateShape {
    // Holds every outline point and the anchor (the origin).
    LabelRect bounds;
    Vector<float, 3> offset;
    // The lane of its rectangle in the shape's RelativeCandidateRects:
    // candidates with the same bounds, bit for bit, share it, and a test of
    // one answers for the others.
    std::uint8_t lane;
};

class ShapeCache {
public:
    using ReferencePoint = LabelBackground::ReferencePoint;

    // Forgets every shape and takes the candidates every shape is made for
    // (at most s_candidateLanes). The outline points stay readable until the
    // next beginFrame.
    void reset(const std::vector<ReferencePoint>& candidates);
    // Forgets every shape, keeping the candidates; allocates nothing. The
    // outline points stay readable until the next beginFrame.
    void clear() noexcept;
    // Called before a frame's lookups: drops every shape when the cache has
    // grown far beyond what a frame of labelCount labels uses, so that a
    // long run of changing sizes cannot grow it without end, and the
    // outline points of shapes dropped before.
    void beginFrame(std::size_t labelCount);

    // The index of the shape of a label with this background and size,
    // computed on first use.
    std::uint32_t find(const LabelBackground& background, const Vector<float, 3>& size);

    const CandidateShape& getCandidate(std::uint32_t shape, std::size_t candidate) const {
        return m_candidates[shape * m_candidateCount + candidate];
    }
    const CandidateShape* getCandidates(std::uint32_t shape) const {
        return m_candidates.data() + shape * m_candidateCount;
    }
    // Whether no candidate before this one has its bounds.
    bool isFirstWithItsBounds(std::uint32_t shape, std::size_t candidate) const {
        return m_candidateRects[shape].firstCandidateOfLane[getCandidate(shape, candidate).lane] ==
               candidate;
    }
    // The candidates' distinct bounds side by side, for the lanes' tests.
    const RelativeCandidateRects& getCandidateRects(std::uint32_t shape) const {
        return m_candidateRects[shape];
    }
    // Holds every candidate's bounds that is not NaN, and the origin.
    const LabelRect& getSpan(std::uint32_t shape) const { return m_entries[shape].span; }
    // How far any shape's span reaches from the anchor along either axis:
    // the largest side's magnitude over the shapes held, infinite where a
    // side is.
    float getSpanReach() const { return m_spanReach; }
    // Where a candidate's outline, relative to the anchor, lies among
    // getOutlinePoints, and its fill triangles among getTriangleIndices
    // (indices from the outline's first point, three a triangle).
    struct OutlineRange {
        std::uint32_t first;
        std::uint32_t count;
        std::uint32_t firstTriangleIndex;
        std::uint32_t triangleIndexCount;
    };
    // The outline of the shape at a candidate, relative to the anchor, from
    // the background on first use, with its fill triangles. Room for every
    // outline of a shape is made when the shape is added: this allocates
    // only for a background that gives more points than it said.
    OutlineRange findOutline(std::uint32_t shape, std::size_t candidate);
    // The body alone, as a callout shows it: the outline the background
    // gives for Center (which holds no indicator points), at the offset
    // getOffset gives for Center. bounds is the outline's extent (NaN where
    // it is NaN; the origin is not added); lane is unused.
    const CandidateShape& getBody(std::uint32_t shape) const { return m_bodies[shape]; }
    // Its outline among getOutlinePoints, from the background on first use,
    // with its fill triangles; allocates as findOutline does.
    OutlineRange findBodyOutline(std::uint32_t shape);
    const Vector<float, 3>* getOutlinePoints() const { return m_outlinePoints.data(); }
    const std::uint32_t* getTriangleIndices() const { return m_triangleIndices.data(); }

private:
    // What a shape depends on: the background's address and the scale
    // factors it and its indicator hold, and the label size, all bit for bit.
    struct Key {
        const LabelBackground* background;
        std::uint32_t bits[5];
    };
    struct Entry {
        Key key;
        const LabelBackground* background;
        Vector<float, 3> size;
        LabelRect span;
    };

    static Key makeKey(const LabelBackground& background, const Vector<float, 3>& size);
    static bool sameKey(const Key& a, const Key& b);
    static std::size_t hashOf(const Key& key);
    void rehash(std::size_t capacity);
    void computeCandidates(std::uint32_t shape);
    void computeBody(std::uint32_t shape);
    // Appends the outline of the entry's background at the reference point
    // and offset, with its triangles.
    OutlineRange appendOutline(const Entry& entry, ReferencePoint referencePoint,
                               const Vector<float, 3>& offset);
    // Whether the background still gives the shape's first candidate, bit
    // for bit: its geometry changes only through initialize, which the key
    // holds (see LabelBackground.h).
    bool stillMatchesBackground(std::uint32_t shape) const;

    std::vector<ReferencePoint> m_referencePoints;
    std::size_t m_candidateCount = 0;
    std::vector<Entry> m_entries;
    float m_spanReach = 0.0f;
    std::vector<CandidateShape> m_candidates;
    std::vector<RelativeCandidateRects> m_candidateRects;
    // Per shape and candidate, its outline among m_outlinePoints, or
    // s_noOutline as first where it was never asked for.
    static constexpr std::uint32_t s_noOutline = 0xFFFFFFFFu;
    std::vector<OutlineRange> m_outlines;
    // Per shape, its body alone and the body's outline (s_noOutline as first
    // until asked for).
    std::vector<CandidateShape> m_bodies;
    std::vector<OutlineRange> m_bodyOutlines;
    std::vector<Vector<float, 3>> m_outlinePoints;
    std::vector<std::uint32_t> m_triangleIndices;
    std::vector<std::uint32_t> m_earClippingScratch;
    // Open addressing: entry index + 1, 0 for an empty slot.
    std::vector<std::uint32_t> m_slots;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_SHAPECACHE_H
