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
}

}  // namespace internal
}  // namespace Varnek
