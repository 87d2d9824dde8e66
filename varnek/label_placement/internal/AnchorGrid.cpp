#include <varnek/label_placement/internal/AnchorGrid.h>

#include <algorithm>

namespace Varnek {
namespace internal {

void AnchorGrid::build(const UniformGrid& layout, const float* x, const float* y,
                       const std::uint8_t* listed, std::size_t count) {
    m_layout = layout;
    const std::size_t cells = layout.getCellCount();
    m_cellStarts.resize(cells + 1);
    std::fill(m_cellStarts.begin(), m_cellStarts.end(), 0u);
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (listed[i]) {
            ++m_cellStarts[layout.getCellIndexOfPoint(x[i], y[i]) + 1];
            ++total;
        }
    }
    for (std::size_t c = 0; c < cells; ++c) {
        m_cellStarts[c + 1] += m_cellStarts[c];
    }
    m_anchors.resize(total);
    // Filled in label order per cell: the cell's start moves forward as it
    // fills and is moved back afterwards.
    for (std::size_t i = 0; i < count; ++i) {
        if (listed[i]) {
            std::uint32_t& next = m_cellStarts[layout.getCellIndexOfPoint(x[i], y[i])];
            m_anchors[next++] = {x[i], y[i], static_cast<std::uint32_t>(i)};
        }
    }
    for (std::size_t c = cells; c > 0; --c) {
        m_cellStarts[c] = m_cellStarts[c - 1];
    }
    m_cellStarts[0] = 0;

    // Crowded cells list each point once; the array closes up behind them.
    // Room for the chains of shared points without writing it (a frame
    // with crowded cells then allocates nothing where one before had none).
    m_nextAtPoint.reserve(count);
    std::uint32_t kept = 0;
    bool anyCrowded = false;
    m_bounds.clear();
    for (std::size_t c = 0; c < cells; ++c) {
        const std::uint32_t begin = m_cellStarts[c];
        const std::uint32_t end = m_cellStarts[c + 1];
        std::size_t points = end - begin;
        if (points > s_crowdedCell) {
            if (m_nextAtPoint.size() < count) {
                m_nextAtPoint.resize(count);
            }
            // Room for the most bounded cells the anchors can fill.
            m_bounds.reserve(count / (s_boundedCell + 1));
            points = listPointsOnce(c, m_anchors.data() + begin, m_anchors.data() + end);
            anyCrowded = true;
        }
        if (anyCrowded) {
            std::copy(m_anchors.begin() + begin,
                      m_anchors.begin() + begin + static_cast<std::ptrdiff_t>(points),
                      m_anchors.begin() + kept);
        }
        m_cellStarts[c] = kept;
        kept += static_cast<std::uint32_t>(points);
    }
    m_cellStarts[cells] = kept;
    m_anchors.resize(kept);
}

std::size_t AnchorGrid::listPointsOnce(std::size_t cell, Anchor* begin, Anchor* end) {
    // By point, each point's labels in label order (listed anchors are
    // finite, and labels fewer than s_sharedBit). The anchors come in label
    // order: already so where they share one point.
    const auto byPoint = [](const Anchor& a, const Anchor& b) {
        return a.x < b.x || (a.x == b.x && (a.y < b.y || (a.y == b.y && a.label < b.label)));
    };
    if (!std::is_sorted(begin, end, byPoint)) {
        std::sort(begin, end, byPoint);
    }
    Anchor* out = begin;
    for (Anchor* first = begin; first != end;) {
        Anchor* last = first + 1;
        while (last != end && last->x == first->x && last->y == first->y) {
            m_nextAtPoint[last[-1].label] = last->label;
            ++last;
        }
        m_nextAtPoint[last[-1].label] = s_none;
        *out = *first;
        if (last - first > 1) {
            out->label |= s_sharedBit;
        }
        ++out;
        first = last;
    }
    if (out - begin > std::ptrdiff_t{s_boundedCell}) {
        // Sorted by x: the first and last points bound x.
        LabelRect bounds{begin->x, begin->y, out[-1].x, begin->y};
        for (const Anchor* point = begin + 1; point != out; ++point) {
            bounds.top = std::min(bounds.top, point->y);
            bounds.bottom = std::max(bounds.bottom, point->y);
        }
        m_bounds.push_back({static_cast<std::uint32_t>(cell), bounds});
    }
    // Back to the order of each point's first label.
    std::sort(begin, out, [](const Anchor& a, const Anchor& b) {
        return (a.label & ~s_sharedBit) < (b.label & ~s_sharedBit);
    });
    return static_cast<std::size_t>(out - begin);
}

}  // namespace internal
}  // namespace Varnek
