#include <varnek/label_placement/internal/LeaderGrid.h>

namespace Varnek {
namespace internal {

void LeaderGrid::reset(const UniformGrid& layout, std::size_t leaders, std::size_t listings) {
    m_layout = layout;
    m_heads.assign(layout.getCellCount(), s_end);
    m_nodes.reserve(listings);
    m_leaders.reserve(leaders);
    m_cells.reserve(leaders);
    m_nodes.clear();
    m_leaders.clear();
    m_cells.clear();
}

void LeaderGrid::insert(const Segment& leader) {
    const auto index = static_cast<std::uint32_t>(m_leaders.size());
    const CellRange cells = m_layout.getCells(boxOf(leader));
    m_leaders.push_back(leader);
    m_cells.push_back(cells);
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            std::uint32_t& head = m_heads[m_layout.getCellIndex(column, row)];
            m_nodes.push_back({index, head});
            head = static_cast<std::uint32_t>(m_nodes.size() - 1);
        }
    }
}

}  // namespace internal
}  // namespace Varnek
