// The parts of the view no label may cover: the options' rectangles and a
// frame's coverage mask, tested against all of a label's candidate
// rectangles at once. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H

#include <cstdint>
#include <vector>

#include <varnek/label_placement/CoverageMask.h>
#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/CandidateLanes.h>

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

    bool isEmpty() const { return m_rectangles.empty() && m_columns == 0 && m_rooms.empty(); }
    bool hasMask() const { return m_columns != 0; }
    bool hasRooms() const { return !m_rooms.empty(); }

    // Bit j set for every lane j of rects placed at (x, y) (as
    // CandidateRectQuads places them) whose rectangle shares an interior
    // point with a rectangle kept out or a nonzero cell of the mask.
    // With rooms, the rooms of labels other than owner count as kept out,
    // grown by the gap. span holds every lane's rectangle: where it meets
    // nothing kept out, no lane is tested.
    std::uint32_t getBlockedLanes(const RelativeCandidateRects& rects, float x, float y,
                                  std::uint32_t owner, const LabelRect& span, bool rooms) const;

    // Whether rect shares an interior point with a rectangle kept out or a
    // nonzero cell.
    bool blocksRect(const LabelRect& rect) const;

    // Whether rect, grown by the gap, overlaps the grown room of a label
    // other than owner.
    bool blocksForOthersRooms(const LabelRect& rect, std::uint32_t owner) const;

    // Whether rect shares an interior point with a nonzero cell.
    bool coversMaskedCell(const LabelRect& rect) const;

private:
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

    // Calls visit with the room, grown by the gap, of every label other
    // than owner that rect grown by the gap overlaps (a room listed in
    // several cells may come more than once).
    template <typename Visit>
    void forEachRoomNear(const LabelRect& rect, std::uint32_t owner, Visit&& visit) const;
    LabelRect grow(const LabelRect& rect) const {
        return {rect.left - m_halfGap, rect.top - m_halfGap, rect.right + m_halfGap,
                rect.bottom + m_halfGap};
    }

    static constexpr std::size_t s_roomCellsPerAxis = 32;
    // A room as listed: grown by the gap, and the first row and column of
    // the cells it is listed in.
    struct ListedRoom {
        LabelRect grown;
        std::uint32_t owner;
        int firstRow;
        int firstColumn;
    };
    std::vector<ListedRoom> m_rooms;
    // Per cell of the rooms' grid (row by row), where its rooms start among
    // m_roomEntries, and one entry more.
    std::vector<std::uint32_t> m_roomCellStarts;
    std::vector<std::uint32_t> m_roomEntries;
    CellAxis m_roomColumns{0.0, 0.0, 0};
    CellAxis m_roomRows{0.0, 0.0, 0};
    float m_halfGap = 0.0f;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_KEEPOUTAREA_H
