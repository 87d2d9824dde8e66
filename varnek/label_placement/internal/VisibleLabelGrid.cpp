#include <varnek/label_placement/internal/VisibleLabelGrid.h>

#include <algorithm>

namespace Varnek {
namespace internal {

void VisibleLabelGrid::reset(const UniformGrid& layout) {
    m_layout = layout;
    m_heads.resize(layout.getCellCount());
    std::fill(m_heads.begin(), m_heads.end(), s_end);
    m_nodes.clear();
    m_free = s_end;
}

void VisibleLabelGrid::insert(std::uint32_t label, const LabelRect& rect) {
    const CellRange cells = m_layout.getCells(rect);
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            std::uint32_t& head = m_heads[m_layout.getCellIndex(column, row)];
            std::uint32_t node = m_free;
            if (node != s_end) {
                m_free = m_nodes[node].next;
                m_nodes[node] = {label, head};
            } else {
                node = static_cast<std::uint32_t>(m_nodes.size());
                m_nodes.push_back({label, head});
            }
            head = node;
        }
    }
}

void VisibleLabelGrid::remove(std::uint32_t label, const LabelRect& rect) {
    const CellRange cells = m_layout.getCells(rect);
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            std::uint32_t* link = &m_heads[m_layout.getCellIndex(column, row)];
            while (*link != s_end && m_nodes[*link].label != label) {
                link = &m_nodes[*link].next;
            }
            if (*link != s_end) {
                const std::uint32_t node = *link;
                *link = m_nodes[node].next;
                m_nodes[node].next = m_free;
                m_free = node;
            }
        }
    }
}

}  // namespace internal
}  // namespace Varnek
