#include <varnek/label_placement/internal/BoxGrid.h>

#include <varnek/label_placement/internal/Assert.h>

namespace Varnek {
namespace internal {

void BoxGrid::reset(const UniformGrid& layout, std::size_t boxes, std::size_t listings) {
    m_layout = layout;
    m_heads.assign(layout.getCellCount(), s_end);
    m_nodes.reserve(listings);
    m_cells.reserve(boxes);
    m_nodes.clear();
    m_cells.clear();
}

void BoxGrid::insert(const LabelRect& box) {
    const auto index = static_cast<std::uint32_t>(m_cells.size());
    const CellRange cells = m_layout.getCells(box);
    m_cells.push_back(cells);
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            std::uint32_t& head = m_heads[m_layout.getCellIndex(column, row)];
            m_nodes.push_back({index, head});
            head = static_cast<std::uint32_t>(m_nodes.size() - 1);
        }
    }
}

void BoxGrid::removeLast() {
    VARNEK_ASSERT(!m_cells.empty());
    const CellRange cells = m_cells.back();
    // Its listings are the last nodes, each at the head of its cell: undone
    // in the reverse order of insert.
    for (std::uint32_t row = cells.row1 + 1; row-- > cells.row0;) {
        for (std::uint32_t column = cells.column1 + 1; column-- > cells.column0;) {
            std::uint32_t& head = m_heads[m_layout.getCellIndex(column, row)];
            VARNEK_ASSERT(head == m_nodes.size() - 1);
            head = m_nodes.back().next;
            m_nodes.pop_back();
        }
    }
    m_cells.pop_back();
}

}  // namespace internal
}  // namespace Varnek
