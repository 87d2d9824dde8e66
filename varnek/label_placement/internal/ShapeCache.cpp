#include <varnek/label_placement/internal/ShapeCache.h>

#include <varnek/label_shape/internal/EarClipping.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_shape/LabelIndicator.h>

namespace Varnek {
namespace internal {
namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

bool sameBits(const LabelRect& a, const LabelRect& b) {
    return bitsOf(a.left) == bitsOf(b.left) && bitsOf(a.top) == bitsOf(b.top) &&
           bitsOf(a.right) == bitsOf(b.right) && bitsOf(a.bottom) == bitsOf(b.bottom);
}

// The smallest rectangle holding the origin and the outline's extent; NaN
// where the outline is NaN, so that such a candidate fails every
// containment test and is never shown.
LabelRect extentWithOrigin(const Vector<float, 3>& minimum, const Vector<float, 3>& maximum) {
    const auto low = [](float value) { return std::isnan(value) || value < 0.0f ? value : 0.0f; };
    const auto high = [](float value) { return std::isnan(value) || value > 0.0f ? value : 0.0f; };
    return {low(minimum[0]), low(minimum[1]), high(maximum[0]), high(maximum[1])};
}

}  // namespace

void ShapeCache::reset(const std::vector<ReferencePoint>& candidates) {
    VARNEK_ASSERT(candidates.size() <= s_candidateLanes);
    m_referencePoints = candidates;
    m_candidateCount = candidates.size();
    m_entries.clear();
    m_spanReach = 0.0f;
    m_candidates.clear();
    m_candidateRects.clear();
    m_outlines.clear();
    m_bodies.clear();
    m_bodyOutlines.clear();
    m_slots.clear();
}

void ShapeCache::clear() noexcept {
    m_entries.clear();
    m_spanReach = 0.0f;
    m_candidates.clear();
    m_candidateRects.clear();
    m_outlines.clear();
    m_bodies.clear();
    m_bodyOutlines.clear();
    std::fill(m_slots.begin(), m_slots.end(), 0u);
}

void ShapeCache::beginFrame(std::size_t labelCount) {
    if (m_entries.size() > 2 * labelCount + 256) {
        clear();
    }
    // The outline points of shapes dropped since the last frame: kept until
    // now for that frame's outlines.
    if (m_entries.empty()) {
        m_outlinePoints.clear();
        m_triangleIndices.clear();
    }
}

ShapeCache::Key ShapeCache::makeKey(const LabelBackground& background,
                                    const Vector<float, 3>& size) {
    const LabelIndicator* indicator = background.getIndicator();
    return {
        &background,
        {bitsOf(size[0]), bitsOf(size[1]), bitsOf(size[2]),
         bitsOf(background.getScreenHeightFractionToMaskedSceneScaleFactor()),
         indicator != nullptr ? bitsOf(indicator->getScreenHeightFractionToMaskedSceneScaleFactor())
                              : 0u}};
}

bool ShapeCache::sameKey(const Key& a, const Key& b) {
    return a.background == b.background && std::memcmp(a.bits, b.bits, sizeof a.bits) == 0;
}

std::size_t ShapeCache::hashOf(const Key& key) {
    std::uint64_t hash = reinterpret_cast<std::uintptr_t>(key.background);
    for (const std::uint32_t bits : key.bits) {
        hash = (hash ^ bits) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    return static_cast<std::size_t>(hash);
}

void ShapeCache::rehash(std::size_t capacity) {
    m_slots.assign(capacity, 0u);
    const std::size_t mask = capacity - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        std::size_t slot = hashOf(m_entries[e].key) & mask;
        while (m_slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        m_slots[slot] = static_cast<std::uint32_t>(e + 1);
    }
}

std::uint32_t ShapeCache::find(const LabelBackground& background, const Vector<float, 3>& size) {
    const Key key = makeKey(background, size);
    if (m_slots.empty()) {
        rehash(64);
    }
    std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hashOf(key) & mask;
    while (m_slots[slot] != 0) {
        const std::uint32_t entry = m_slots[slot] - 1;
        if (sameKey(m_entries[entry].key, key)) {
            VARNEK_ASSERT(stillMatchesBackground(entry));
            return entry;
        }
        slot = (slot + 1) & mask;
    }
    const auto shape = static_cast<std::uint32_t>(m_entries.size());
    const int points = background.getNumberOfPolygonPoints();
    m_entries.push_back({key, &background, size, LabelRect{0.0f, 0.0f, 0.0f, 0.0f}});
    m_candidates.resize(m_candidates.size() + m_candidateCount);
    m_candidateRects.emplace_back();
    m_outlines.resize(m_outlines.size() + m_candidateCount, OutlineRange{s_noOutline, 0, 0, 0});
    m_bodies.emplace_back();
    m_bodyOutlines.push_back(OutlineRange{s_noOutline, 0, 0, 0});
    // Room for all its outlines and their triangles, growing by half at
    // least so that many shapes do not copy them again and again.
    const auto pointCount = static_cast<std::size_t>(std::max(points, 0));
    const auto reserve = [](auto& values, std::size_t room) {
        if (values.capacity() < room) {
            values.reserve(std::max(room, values.capacity() * 3 / 2));
        }
    };
    // (and the body's alone, for a callout)
    reserve(m_outlinePoints, m_outlinePoints.size() + pointCount * (m_candidateCount + 1));
    reserve(m_triangleIndices, m_triangleIndices.size() + 3 * pointCount * (m_candidateCount + 1));
    reserve(m_earClippingScratch, internal::getEarClippingScratchSize(pointCount));
    computeCandidates(shape);
    computeBody(shape);
    if (2 * m_entries.size() > m_slots.size()) {
        rehash(2 * m_slots.size());
    } else {
        m_slots[slot] = shape + 1;
    }
    return shape;
}

void ShapeCache::computeCandidates(std::uint32_t shape) {
    Entry& entry = m_entries[shape];
    CandidateShape* candidates = m_candidates.data() + shape * m_candidateCount;
    RelativeCandidateRects& rects = m_candidateRects[shape];
    const float none = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t lane = 0; lane < s_candidateLanes; ++lane) {
        rects.left[lane] = rects.top[lane] = rects.right[lane] = rects.bottom[lane] = none;
    }
    rects.laneCount = 0;
    for (std::uint8_t& first : rects.firstCandidateOfLane) {
        first = 0;
    }
    for (std::size_t k = 0; k < m_candidateCount; ++k) {
        const ReferencePoint referencePoint = m_referencePoints[k];
        candidates[k].offset = entry.background->getOffset(referencePoint, entry.size);
        Vector<float, 3> minimum;
        Vector<float, 3> maximum;
        entry.background->getPolygonExtent(referencePoint, entry.size, candidates[k].offset,
                                           minimum, maximum);
        const LabelRect bounds = extentWithOrigin(minimum, maximum);
        candidates[k].bounds = bounds;
        std::size_t first = 0;
        while (first < k && !sameBits(candidates[first].bounds, bounds)) {
            ++first;
        }
        // Each distinct rectangle takes the next lane.
        if (first == k) {
            VARNEK_ASSERT(rects.laneCount < s_candidateLanes);
            const std::size_t lane = rects.laneCount++;
            rects.firstCandidateOfLane[lane] = static_cast<std::uint8_t>(k);
            rects.left[lane] = bounds.left;
            rects.top[lane] = bounds.top;
            rects.right[lane] = bounds.right;
            rects.bottom[lane] = bounds.bottom;
        }
        candidates[k].lane =
            first == k ? static_cast<std::uint8_t>(rects.laneCount - 1) : candidates[first].lane;
        // A NaN side compares false and is left out.
        LabelRect& span = entry.span;
        span.left = bounds.left < span.left ? bounds.left : span.left;
        span.top = bounds.top < span.top ? bounds.top : span.top;
        span.right = bounds.right > span.right ? bounds.right : span.right;
        span.bottom = bounds.bottom > span.bottom ? bounds.bottom : span.bottom;
    }
    const LabelRect& span = entry.span;
    for (const float side : {span.left, span.top, span.right, span.bottom}) {
        m_spanReach = std::max(m_spanReach, std::fabs(side));
    }
}

bool ShapeCache::stillMatchesBackground(std::uint32_t shape) const {
    if (m_candidateCount == 0) {
        return true;
    }
    const Entry& entry = m_entries[shape];
    const CandidateShape& cached = getCandidate(shape, 0);
    const Vector<float, 3> offset = entry.background->getOffset(m_referencePoints[0], entry.size);
    Vector<float, 3> minimum;
    Vector<float, 3> maximum;
    entry.background->getPolygonExtent(m_referencePoints[0], entry.size, offset, minimum, maximum);
    return sameBits(extentWithOrigin(minimum, maximum), cached.bounds) &&
           bitsOf(offset[0]) == bitsOf(cached.offset[0]) &&
           bitsOf(offset[1]) == bitsOf(cached.offset[1]) &&
           bitsOf(offset[2]) == bitsOf(cached.offset[2]);
}

ShapeCache::OutlineRange ShapeCache::appendOutline(const Entry& entry,
                                                   ReferencePoint referencePoint,
                                                   const Vector<float, 3>& offset) {
    const std::size_t first = m_outlinePoints.size();
    const std::size_t firstTriangleIndex = m_triangleIndices.size();
    try {
        entry.background->appendPolygon(referencePoint, entry.size, offset, m_outlinePoints);
        const std::size_t count = m_outlinePoints.size() - first;
        m_earClippingScratch.resize(internal::getEarClippingScratchSize(count));
        internal::clipEars(m_outlinePoints.data() + first, count, 0, m_earClippingScratch.data(),
                           m_triangleIndices);
    } catch (...) {
        m_outlinePoints.resize(first);
        m_triangleIndices.resize(firstTriangleIndex);
        throw;
    }
    return {static_cast<std::uint32_t>(first),
            static_cast<std::uint32_t>(m_outlinePoints.size() - first),
            static_cast<std::uint32_t>(firstTriangleIndex),
            static_cast<std::uint32_t>(m_triangleIndices.size() - firstTriangleIndex)};
}

ShapeCache::OutlineRange ShapeCache::findOutline(std::uint32_t shape, std::size_t candidate) {
    OutlineRange& range = m_outlines[shape * m_candidateCount + candidate];
    if (range.first == s_noOutline) {
        range = appendOutline(m_entries[shape], m_referencePoints[candidate],
                              getCandidate(shape, candidate).offset);
    }
    return range;
}

void ShapeCache::computeBody(std::uint32_t shape) {
    const Entry& entry = m_entries[shape];
    CandidateShape& body = m_bodies[shape];
    body.offset = entry.background->getOffset(LabelBackground::Center, entry.size);
    Vector<float, 3> minimum;
    Vector<float, 3> maximum;
    entry.background->getPolygonExtent(LabelBackground::Center, entry.size, body.offset, minimum,
                                       maximum);
    body.bounds = {minimum[0], minimum[1], maximum[0], maximum[1]};
    body.lane = 0;
}

ShapeCache::OutlineRange ShapeCache::findBodyOutline(std::uint32_t shape) {
    OutlineRange& range = m_bodyOutlines[shape];
    if (range.first == s_noOutline) {
        range = appendOutline(m_entries[shape], LabelBackground::Center, m_bodies[shape].offset);
    }
    return range;
}

}  // namespace internal
}  // namespace Varnek
