// The leaders of a frame's callouts by grid cell: a leader is listed in
// every cell its box touches, so that a search reads only the leaders near
// a place. Nothing is allocated once the cells and the listings have grown.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/Segments.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class LeaderGrid {
public:
    // Empties the grid and takes the layout, with room for leaders leaders
    // listed in listings cells in all.
    void reset(const UniformGrid& layout, std::size_t leaders, std::size_t listings);

    // Adds a leader; its index is the number of leaders before it.
    void insert(const Segment& leader);
    std::size_t size() const { return m_leaders.size(); }
    const Segment& operator[](std::size_t leader) const { return m_leaders[leader]; }

    // Calls visit(index, leader) once for every leader listed in a cell the
    // rectangle touches, in no particular order.
    template <typename Visit>
    void forEachNear(const LabelRect& rect, Visit&& visit) const {
        if (m_leaders.empty()) {
            return;
        }
        const CellRange cells = m_layout.getCells(rect);
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
                for (std::uint32_t node = m_heads[m_layout.getCellIndex(column, row)];
                     node != s_end; node = m_nodes[node].next) {
                    const std::uint32_t leader = m_nodes[node].leader;
                    // Once, in the first cell the leader and the rectangle
                    // share.
                    const CellRange& own = m_cells[leader];
                    if (std::max(own.column0, cells.column0) == column &&
                        std::max(own.row0, cells.row0) == row) {
                        visit(leader, m_leaders[leader]);
                    }
                }
            }
        }
    }

private:
    static constexpr std::uint32_t s_end = 0xFFFFFFFFu;
    struct Node {
        std::uint32_t leader;
        std::uint32_t next;
    };

    UniformGrid m_layout;
    std::vector<std::uint32_t> m_heads;
    std::vector<Node> m_nodes;
    std::vector<Segment> m_leaders;
    std::vector<CellRange> m_cells;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H
