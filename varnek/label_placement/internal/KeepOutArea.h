// The parts of the view no label may cover: the options' rectangles and a
// frame's coverage mask, tested against all of a label's candidate
// rectangles at once. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/CoverageMask.h>
#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/CandidateLanes.h>
#include <varnek/label_placement/internal/Portability.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class KeepOutArea {
public:
    // count cells over [low, high]: a coordinate lands (value - low) *
    // scale cells from the first; the scale is found once per frame.
    struct CellAxis {
        double low;
        double scale;
        int count;

        static CellAxis over(float low, float high, int count);
    };

    // The rectangles kept out from now on; those with a NaN side or
    // left > right or top > bottom keep nothing out and are dropped.
    void setRectangles(const std::vector<LabelRect>& rectangles);
    // The mask of the coming frame over viewport, or none (null, or a mask
    // without cells). Builds its summed-area table: a frame's one pass over
    // the cells, after which a rectangle costs four reads whatever its size.
    void setMask(const CoverageMask* mask, const LabelRect& viewport);

    // Rooms held for one label each (a label fading out): no other label
    // overlaps one, the gap included as between labels. Listed in a grid
    // over viewport, so that a label reads only those near it.
    struct Room {
        LabelRect bounds;
        std::uint32_t owner;
    };
    void setRooms(const std::vector<Room>& rooms, const LabelRect& viewport, float halfGap);

    // Where the labels' anchors may lie for a label to meet a room: every
    // rectangle of a label, grown by the gap, lies within reach of its
    // anchor along each axis (infinite: anywhere). Until it is called after
    // setRooms, every anchor may.
    void setRoomReach(float reach);
    // Whether a label anchored at (x, y) may meet a room: false only where
    // none of its rectangles within the reach meets one, so that most
    // labels far from every room skip their search. The margin for
    // rounding is relative to the coordinates, so a view in small units
    // skips as much.
    bool mayReachRoom(float x, float y) const {
        const CellRange cell = m_reachLayout.getCells({x, y, x, y});
        return (m_reachRowBits[cell.row0] >> cell.column0 & 1u) != 0;
    }

    bool isEmpty() const { return m_rectangles.empty() && m_columns == 0 && m_rooms.empty(); }
    bool hasMask() const { return m_columns != 0; }
    bool hasRooms() const { return !m_rooms.empty(); }

    // Bit j set for every lane j of rects placed at (x, y) (as
    // CandidateRectQuads places them) whose rectangle shares an interior
    // point with a rectangle kept out or a nonzero cell of the mask (not
    // the rooms). span holds every lane's rectangle: where it meets nothing
    // kept out, no lane is tested.
    std::uint32_t getBlockedLanes(const RelativeCandidateRects& rects, float x, float y,
                                  const LabelRect& span) const {
        // Most labels lie far from everything kept out: tested here, without
        // a call.
        bool near = mayCoverMaskedCell(span);
        for (const LabelRect& out : m_rectangles) {
            near = near || overlapsInterior(span, out);
        }
        return near ? findBlockedLanes(rects, x, y, span) : 0u;
    }

    // Calls visit(room) with the room, grown by the gap, of every label
    // other than owner that rect grown by the gap overlaps, once each: the
    // rooms a label's candidates in rect must keep off, as off a visible
    // label's grown rectangle. An inverted rect, or one with a NaN side,
    // meets none.
    template <typename Visit>
    void forEachRoomNear(const LabelRect& rect, std::uint32_t owner, Visit&& visit) const {
        if (m_rooms.empty()) {
            return;
        }
        const LabelRect grown = grow(rect);
        const CellRange cells = m_roomLayout.getCells(grown);
        // An inverted rectangle, or one with a NaN side, may come out with its
        // columns the wrong way round: it lies in no cell, and meets no room.
        if (cells.column0 > cells.column1) {
            return;
        }
        // The columns touched, as bits.
        const std::uint32_t columns = (0xFFFFFFFFu >> (31u - (cells.column1 - cells.column0)))
                                      << cells.column0;
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            for (std::uint32_t listed = m_roomRowBits[row] & columns; listed != 0;
                 listed &= listed - 1u) {
                const std::uint32_t column = countTrailingZeros(listed);
                const std::size_t cell = m_roomLayout.getCellIndex(column, row);
                for (std::uint32_t e = m_roomCellStarts[cell]; e < m_roomCellStarts[cell + 1];
                     ++e) {
                    const ListedRoom& room = m_roomEntries[e];
                    // Each room once, in the first cell it shares with rect.
                    const bool first =
                        std::max<std::uint32_t>(room.firstRow, cells.row0) == row &&
                        std::max<std::uint32_t>(room.firstColumn, cells.column0) == column;
                    if (first && room.owner != owner && overlapsInterior(grown, room.grown)) {
                        visit(room.grown);
                    }
                }
            }
        }
    }

    // Whether rect shares an interior point with a rectangle kept out or a
    // nonzero cell.
    bool blocksRect(const LabelRect& rect) const;

    // Whether rect, grown by the gap, overlaps the grown room of a label
    // other than owner.
    bool blocksForOthersRooms(const LabelRect& rect, std::uint32_t owner) const;

    // Whether rect shares an interior point with a nonzero cell.
    bool coversMaskedCell(const LabelRect& rect) const {
        return mayCoverMaskedCell(rect) && countMaskedCells(rect) != 0;
    }

private:
    // Whether rect reaches near a nonzero cell: beyond the set cells' reach
    // it meets none. A NaN side fails every comparison: near.
    bool mayCoverMaskedCell(const LabelRect& rect) const {
        return m_columns != 0 &&
               !(rect.right <= m_maskReach.left || rect.left >= m_maskReach.right ||
                 rect.bottom <= m_maskReach.top || rect.top >= m_maskReach.bottom);
    }
    // The nonzero cells rect shares an interior point with, counted.
    std::uint32_t countMaskedCells(const LabelRect& rect) const;
    std::uint32_t findBlockedLanes(const RelativeCandidateRects& rects, float x, float y,
                                   const LabelRect& span) const;
    static bool overlapsInterior(const LabelRect& a, const LabelRect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    std::vector<LabelRect> m_rectangles;
    // The mask's nonzero cells counted over every rectangle from the top
    // left corner: entry (row, column) of (m_rows + 1) x (m_columns + 1)
    // counts the cells above and left of that corner. No columns: no mask.
    std::vector<std::uint32_t> m_counts;
    int m_columns = 0;
    int m_rows = 0;
    CellAxis m_columnAxis{0.0, 0.0, 0};
    CellAxis m_rowAxis{0.0, 0.0, 0};
    // Where a rectangle may meet a set cell: beyond it, none is met.
    LabelRect m_maskReach{0.0f, 0.0f, 0.0f, 0.0f};

    LabelRect grow(const LabelRect& rect) const {
        return {rect.left - m_halfGap, rect.top - m_halfGap, rect.right + m_halfGap,
                rect.bottom + m_halfGap};
    }

    // The rooms' grid: cells of a 32nd of the view each way, closed (a room
    // is listed in every cell it touches), and per row a bit per column
    // whose cell lists a room, so that a label far from every room reads no
    // list at all.
    static constexpr std::uint32_t s_roomCellsPerAxis = 32;
    // A room as listed, in every cell it touches: grown by the gap, and the
    // first column and row of those cells.
    struct ListedRoom {
        LabelRect grown;
        std::uint32_t owner;
        std::uint16_t firstColumn;
        std::uint16_t firstRow;
    };
    std::vector<ListedRoom> m_rooms;
    UniformGrid m_roomLayout;
    std::uint32_t m_roomRowBits[s_roomCellsPerAxis] = {};
    // Per cell of the rooms' grid (row by row), where its rooms start among
    // m_roomEntries, and one entry more.
    std::vector<std::uint32_t> m_roomCellStarts;
    std::vector<ListedRoom> m_roomEntries;
    float m_halfGap = 0.0f;
    // Per row of a grid of a 64th of the view each way, a bit per column
    // set where an anchor may have a label meeting a room (setRoomReach).
    static constexpr std::uint32_t s_reachCellsPerAxis = 64;
    UniformGrid m_reachLayout;
    std::uint64_t m_reachRowBits[s_reachCellsPerAxis] = {};
    LabelRect m_roomArea{0.0f, 0.0f, 0.0f, 0.0f};
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H
