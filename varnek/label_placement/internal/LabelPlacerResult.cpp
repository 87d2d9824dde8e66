#include <varnek/label_placement/internal/LabelPlacerImpl.h>

#include <algorithm>
#include <cstddef>
#include <iterator>

#include <varnek/label_placement/internal/Assert.h>
#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace {

// Reads indices with an offset added: a forward iterator, so that a
// vector's insert knows the count and writes each element once.
struct OffsetIndexIterator {
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::uint32_t;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::uint32_t*;
    using reference = std::uint32_t;

    const std::uint32_t* index;
    std::uint32_t offset;

    std::uint32_t operator*() const { return *index + offset; }
    OffsetIndexIterator& operator++() {
        ++index;
        return *this;
    }
    OffsetIndexIterator operator++(int) {
        OffsetIndexIterator before = *this;
        ++index;
        return before;
    }
    bool operator==(const OffsetIndexIterator& other) const { return index == other.index; }
    bool operator!=(const OffsetIndexIterator& other) const { return index != other.index; }
};

}  // namespace

void LabelPlacer::Impl::writeResult(const LabelRequest* labels, std::size_t count) {
    // The labels are read in request order, one after another in no order
    // of theirs: everything the later passes need of a request is written
    // here, in request order. The history: only the first request with a
    // key is in the table; its entry says where it showed: the reference
    // point + 1 (Center is 0), or s_hidden. The outlines: an outline relative
    // to the anchor depends on the shape and candidate only; the shape cache
    // keeps it, and every visible label notes its anchor and outline, for
    // appendOutlines to add.
    if (count > m_result.capacity()) {
        // The result is of the caller's type: its block takes huge pages
        // only where whole ones fall inside it.
        m_result.reserve(count);
        internal::adviseHugePages(m_result.data(), count * sizeof(PlacedLabel));
        internal::populatePages(m_result.data(), count * sizeof(PlacedLabel));
    }
    m_result.resize(count);
    m_previousReferencePoints.resize(count);
    m_outlineStarts.clear();
    m_outlineStarts.reserve(m_placeable + 1);
    m_outlineLabels.clear();
    m_outlineLabels.reserve(m_placeable);
    std::size_t outlinePoints = 0;
    std::size_t triangleIndices = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + internal::s_farPrefetchDistance < count) {
            internal::prefetchForRead(&m_labels[m_labelOf[i + internal::s_farPrefetchDistance]]);
        }
        PlacedLabel& placed = m_result[i];
        const LabelIndex label = m_labelOf[i];
        const LabelState& state = m_labels[label];
        m_previousReferencePoints[i] =
            state.chosen != s_hidden ? static_cast<std::int16_t>(
                                           m_candidates[static_cast<std::size_t>(state.chosen)] + 1)
                                     : s_hidden;
        if (state.chosen != s_hidden) {
            const auto k = static_cast<std::size_t>(state.chosen);
            placed.visible = true;
            placed.referencePoint = m_candidates[k];
            placed.offset = m_shapes.getCandidate(state.shape, k).offset;
            placed.bounds = getBounds(label, k);
            placed.hiddenReason = LabelHiddenReason::None;
            placed.anchorInView = labels[i].anchor;
            placed.opacity = 1.0f;
            placed.callout = false;
            const internal::ShapeCache::OutlineRange outline = m_shapes.findOutline(state.shape, k);
            m_outlineStarts.push_back(static_cast<std::uint32_t>(outlinePoints));
            m_outlineLabels.push_back({state.x, state.y, outline});
            outlinePoints += outline.count;
            triangleIndices += outline.triangleIndexCount;
            continue;
        }
        if (isCallout(label)) {
            writeCallout(labels[i], m_calloutOfLabel[label], placed, outlinePoints);
            triangleIndices += m_outlineLabels.back().outline.triangleIndexCount;
            continue;
        }
        const Vector<float, 3>& anchor = labels[i].anchor;
        placed.visible = false;
        placed.referencePoint = LabelBackground::Center;
        placed.offset = Vector<float, 3>::getZeroVector();
        placed.bounds = {anchor[0], anchor[1], anchor[0], anchor[1]};
        placed.anchorInView = anchor;
        placed.opacity = 0.0f;
        placed.callout = false;
        switch (state.status) {
            case Status::Placeable:
                placed.hiddenReason = LabelHiddenReason::NoRoom;
                break;
            case Status::OutOfContract:
                placed.hiddenReason = LabelHiddenReason::OutOfContract;
                break;
            case Status::NotInitialized:
                placed.hiddenReason = LabelHiddenReason::BackgroundNotInitialized;
                break;
            case Status::SteppedBack:
                placed.hiddenReason = LabelHiddenReason::PlaceTaken;
                break;
        }
    }
    m_outlinePointCount = outlinePoints;
    m_outlineTriangleIndexCount = triangleIndices;
    m_outlineStarts.push_back(static_cast<std::uint32_t>(outlinePoints));
}

void LabelPlacer::Impl::keepHistory() {
    // writeResult wrote where each request showed.
    m_previousKeys.swap(m_currentKeys);
}

void LabelPlacer::Impl::appendOutlines(std::vector<Vector<float, 3>>& points,
                                       std::vector<std::uint32_t>& starts) const {
    const auto base = static_cast<std::uint32_t>(points.size());
    // While fading, the drawn labels' outlines.
    const internal::FrameVector<OutlineLabel>& outlineLabels =
        m_fading ? m_fadeOutlineLabels : m_outlineLabels;
    const internal::FrameVector<std::uint32_t>& outlineStarts =
        m_fading ? m_fadeOutlineStarts : m_outlineStarts;
    const std::size_t outlinePointCount = m_fading ? m_fadeOutlinePointCount : m_outlinePointCount;
    if (outlineStarts.empty()) {
        // No result yet: no outline, and the one closing entry.
        starts.push_back(base);
        return;
    }
    // Growing by half at least, so that appending to a vector again and
    // again does not copy it every time.
    const std::size_t room = points.size() + outlinePointCount;
    if (points.capacity() < room) {
        points.reserve(std::max(room, points.capacity() + points.capacity() / 2));
    }
    // Sized once, then each point written in place: a push_back per point
    // asks for room every time and keeps the loop from running straight.
    const std::size_t firstPoint = points.size();
    points.resize(firstPoint + outlinePointCount);
    Vector<float, 3>* out = points.data() + firstPoint;
    const Vector<float, 3>* relative = m_shapes.getOutlinePoints();
    for (const OutlineLabel& label : outlineLabels) {
        // In locals: the points written are floats too, so the compiler
        // would read the label again after every one.
        const float x = label.x;
        const float y = label.y;
        const Vector<float, 3>* outline = relative + label.outline.first;
        const Vector<float, 3>* const end = outline + label.outline.count;
        for (; outline != end; ++outline) {
            *out++ = {x + (*outline)[0], y + (*outline)[1], 0.0f};
        }
    }
    VARNEK_ASSERT(out == points.data() + points.size());
    const std::size_t first = starts.size();
    starts.resize(first + outlineStarts.size());
    for (std::size_t i = 0; i < outlineStarts.size(); ++i) {
        starts[first + i] = base + outlineStarts[i];
    }
}

void LabelPlacer::Impl::appendTriangles(std::vector<std::uint32_t>& indices,
                                        std::uint32_t firstPoint) const {
    const internal::FrameVector<OutlineLabel>& outlineLabels =
        m_fading ? m_fadeOutlineLabels : m_outlineLabels;
    const internal::FrameVector<std::uint32_t>& outlineStarts =
        m_fading ? m_fadeOutlineStarts : m_outlineStarts;
    // Counted as the outlines were noted.
    const std::size_t count = m_fading ? m_fadeTriangleIndexCount : m_outlineTriangleIndexCount;
    const std::size_t room = indices.size() + count;
    if (indices.capacity() < room) {
        indices.reserve(std::max(room, indices.capacity() + indices.capacity() / 2));
    }
    // The cache keeps each outline's triangles from its first point: each
    // outline's run goes in with where the outline starts added, in one
    // insert that writes each index once.
    const std::uint32_t* relative = m_shapes.getTriangleIndices();
    for (std::size_t i = 0; i < outlineLabels.size(); ++i) {
        const internal::ShapeCache::OutlineRange& outline = outlineLabels[i].outline;
        const std::uint32_t* triangles = relative + outline.firstTriangleIndex;
        const std::uint32_t base = firstPoint + outlineStarts[i];
        indices.insert(indices.end(), OffsetIndexIterator{triangles, base},
                       OffsetIndexIterator{triangles + outline.triangleIndexCount, base});
    }
}

}  // namespace Varnek
