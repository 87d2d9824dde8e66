#include <varnek/label_placement/internal/VisibleLabelGrid.h>

#include <varnek/label_placement/internal/Assert.h>

namespace Varnek {
namespace internal {

void VisibleLabelGrid::reset(const UniformGrid& layout, std::size_t entries) {
    VARNEK_ASSERT(layout.getColumnCount() <= s_maxCellsPerAxis);
    m_layout = layout;
    m_cells.resize(layout.getCellCount());
    m_nodes.clear();
    m_nodes.reserve(entries);
    for (Cell& cell : m_cells) {
        cell.count = 0;
        cell.overflow = s_end;
    }
    m_free = s_end;
}

void VisibleLabelGrid::insertInCell(Cell& cell, const Entry& entry) {
    if (cell.count < s_entriesInPlace) {
        cell.entries[cell.count++] = entry;
        return;
    }
    std::uint32_t node = m_free;
    if (node != s_end) {
        m_free = m_nodes[node].next;
        m_nodes[node] = {entry, cell.overflow};
    } else {
        node = static_cast<std::uint32_t>(m_nodes.size());
        m_nodes.push_back({entry, cell.overflow});
    }
    cell.overflow = node;
}

bool VisibleLabelGrid::removeFromCell(Cell& cell, std::uint32_t label) {
    for (std::uint32_t e = 0; e < cell.count; ++e) {
        if (cell.entries[e].label == label) {
            // The last entry in place fills the hole, and the first overflow
            // node, if any, the last place.
            cell.entries[e] = cell.entries[cell.count - 1];
            if (cell.overflow != s_end) {
                const std::uint32_t node = cell.overflow;
                cell.entries[cell.count - 1] = m_nodes[node].entry;
                cell.overflow = m_nodes[node].next;
                m_nodes[node].next = m_free;
                m_free = node;
            } else {
                --cell.count;
            }
            return true;
        }
    }
    for (std::uint32_t* link = &cell.overflow; *link != s_end; link = &m_nodes[*link].next) {
        if (m_nodes[*link].entry.label == label) {
            const std::uint32_t node = *link;
            *link = m_nodes[node].next;
            m_nodes[node].next = m_free;
            m_free = node;
            return true;
        }
    }
    return false;
}

void VisibleLabelGrid::insert(std::uint32_t label, const LabelRect& rect) {
    const CellRange cells = m_layout.getCells(rect);
    // The first cell is noted in 16 bits each way.
    VARNEK_ASSERT(cells.column0 <= s_maxCellsPerAxis && cells.row0 <= s_maxCellsPerAxis);
    const Entry entry{rect, label, static_cast<std::uint16_t>(cells.column0),
                      static_cast<std::uint16_t>(cells.row0)};
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            insertInCell(m_cells[m_layout.getCellIndex(column, row)], entry);
        }
    }
}

void VisibleLabelGrid::remove(std::uint32_t label, const LabelRect& rect) {
    const CellRange cells = m_layout.getCells(rect);
    for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
        for (std::uint32_t column = cells.column0; column <= cells.column1; ++column) {
            [[maybe_unused]] const bool listed =
                removeFromCell(m_cells[m_layout.getCellIndex(column, row)], label);
            VARNEK_ASSERT(listed);
        }
    }
}

}  // namespace internal
}  // namespace Varnek
