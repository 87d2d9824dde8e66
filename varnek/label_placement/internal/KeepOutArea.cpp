#include <varnek/label_placement/internal/KeepOutArea.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>

namespace Varnek {
namespace internal {
namespace {

// The cells of a row or column of count cells spanning [low, high] whose
// interior the closed interval [from, to] meets: [first, last), empty when
// it meets none (or a value is NaN, or the span is empty). An interval of
// no length meets the cell it lies strictly inside, as a rectangle of no
// width meets a rectangle kept out across which it lies.
struct CellSpan {
    int first;
    int last;
};

CellSpan cellsMet(float from, float to, const KeepOutArea::CellAxis& axis) {
    const int count = axis.count;
    const double scale = axis.scale;
    const double begin = (static_cast<double>(from) - axis.low) * scale;
    const double end = (static_cast<double>(to) - axis.low) * scale;
    // Also false for NaN, and for an empty span (inf * 0 or inf - inf).
    if (!(begin <= end) || !(end > 0.0) || !(begin < static_cast<double>(count))) {
        return {0, 0};
    }
    const double first = begin > 0.0 ? std::floor(begin) : 0.0;
    const double last =
        end < static_cast<double>(count) ? std::ceil(end) : static_cast<double>(count);
    return {static_cast<int>(first), static_cast<int>(last)};
}

bool isKeptOut(const LabelRect& rect) {
    return rect.left <= rect.right && rect.top <= rect.bottom;
}

// The float next to value on the side given: at most or at least value
// (NaN for NaN).
float floatAtMost(double value) {
    constexpr auto largest = static_cast<double>(std::numeric_limits<float>::max());
    if (value >= largest || value < -largest) {
        return value >= largest ? std::numeric_limits<float>::max() : -INFINITY;
    }
    const auto near = static_cast<float>(value);
    return static_cast<double>(near) <= value ? near : std::nextafter(near, -INFINITY);
}
float floatAtLeast(double value) {
    return -floatAtMost(-value);
}

}  // namespace

KeepOutArea::CellAxis KeepOutArea::CellAxis::over(float low, float high, int count) {
    const double span = static_cast<double>(high) - static_cast<double>(low);
    return {static_cast<double>(low), static_cast<double>(count) / span, count};
}

void KeepOutArea::setRectangles(const std::vector<LabelRect>& rectangles) {
    m_rectangles.clear();
    for (const LabelRect& rect : rectangles) {
        if (isKeptOut(rect)) {
            m_rectangles.push_back(rect);
        }
    }
}

void KeepOutArea::setMask(const CoverageMask* mask, const LabelRect& viewport) {
    m_columns = 0;
    m_rows = 0;
    if (mask == nullptr || mask->cells == nullptr || mask->width <= 0 || mask->height <= 0) {
        return;
    }
    m_columnAxis = CellAxis::over(viewport.left, viewport.right, mask->width);
    m_rowAxis = CellAxis::over(viewport.top, viewport.bottom, mask->height);
    const auto columns = static_cast<std::size_t>(mask->width);
    const auto rows = static_cast<std::size_t>(mask->height);
    const std::size_t stride = columns + 1;
    m_counts.assign(stride * (rows + 1), 0u);
    // The set cells' rows and columns, from first to last.
    std::size_t firstRow = rows;
    std::size_t lastRow = 0;
    std::size_t firstColumn = columns;
    std::size_t lastColumn = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        std::uint32_t inRow = 0;
        const std::uint8_t* cells = mask->cells + row * columns;
        std::uint32_t* above = m_counts.data() + row * stride;
        std::uint32_t* counts = above + stride;
        for (std::size_t column = 0; column < columns; ++column) {
            const bool set = cells[column] != 0;
            inRow += set ? 1u : 0u;
            counts[column + 1] = above[column + 1] + inRow;
            firstColumn = set && column < firstColumn ? column : firstColumn;
            lastColumn = set && column > lastColumn ? column : lastColumn;
        }
        firstRow = inRow != 0 && row < firstRow ? row : firstRow;
        lastRow = inRow != 0 ? row : lastRow;
    }
    m_columns = mask->width;
    m_rows = mask->height;
    // The set cells with a cell more on every side, rounded outwards: a
    // rectangle wholly beyond it meets no set cell whatever the rounding of
    // the cells' edges. Without set cells nothing is within reach.
    const auto left = static_cast<double>(viewport.left);
    const auto top = static_cast<double>(viewport.top);
    const double width =
        (static_cast<double>(viewport.right) - left) / static_cast<double>(columns);
    const double height = (static_cast<double>(viewport.bottom) - top) / static_cast<double>(rows);
    m_maskReach =
        firstRow > lastRow
            ? LabelRect{INFINITY, INFINITY, -INFINITY, -INFINITY}
            : LabelRect{floatAtMost(left + (static_cast<double>(firstColumn) - 1.0) * width),
                        floatAtMost(top + (static_cast<double>(firstRow) - 1.0) * height),
                        floatAtLeast(left + static_cast<double>(lastColumn + 2) * width),
                        floatAtLeast(top + static_cast<double>(lastRow + 2) * height)};
}

std::uint32_t KeepOutArea::countMaskedCells(const LabelRect& rect) const {
    const CellSpan columns = cellsMet(rect.left, rect.right, m_columnAxis);
    const CellSpan rows = cellsMet(rect.top, rect.bottom, m_rowAxis);
    if (columns.first == columns.last || rows.first == rows.last) {
        return 0;
    }
    const auto stride = static_cast<std::size_t>(m_columns) + 1;
    const auto at = [&](int row, int column) {
        return m_counts[static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(column)];
    };
    // Counted modulo 2^32: exact below four billion cells.
    return at(rows.last, columns.last) - at(rows.first, columns.last) -
           at(rows.last, columns.first) + at(rows.first, columns.first);
}

void KeepOutArea::setRooms(const std::vector<Room>& rooms, const LabelRect& viewport,
                           float halfGap) {
    m_rooms.clear();
    m_rooms.reserve(rooms.capacity());
    m_roomEntries.clear();
    std::fill(std::begin(m_roomRowBits), std::end(m_roomRowBits), 0u);
    m_halfGap = halfGap;
    if (rooms.empty()) {
        return;
    }
    // Every anchor may reach a room until the reach is known.
    m_roomArea = viewport;
    const float reachCells = static_cast<float>(s_reachCellsPerAxis);
    m_reachLayout.reset(viewport, (viewport.right - viewport.left) / reachCells,
                        (viewport.bottom - viewport.top) / reachCells,
                        std::size_t{s_reachCellsPerAxis} * s_reachCellsPerAxis,
                        s_reachCellsPerAxis);
    std::fill(std::begin(m_reachRowBits), std::end(m_reachRowBits), ~std::uint64_t{0});
    const float cells = static_cast<float>(s_roomCellsPerAxis);
    m_roomLayout.reset(viewport, (viewport.right - viewport.left) / cells,
                       (viewport.bottom - viewport.top) / cells,
                       std::size_t{s_roomCellsPerAxis} * s_roomCellsPerAxis, s_roomCellsPerAxis);
    // A room is listed in the cells its grown rectangle touches: a label's
    // grown rectangle that shares a point with it shares one of them.
    for (const Room& room : rooms) {
        const LabelRect grown = grow(room.bounds);
        const CellRange touched = m_roomLayout.getCells(grown);
        m_rooms.push_back({grown, room.owner, static_cast<std::uint16_t>(touched.column0),
                           static_cast<std::uint16_t>(touched.row0)});
    }
    m_roomCellStarts.assign(m_roomLayout.getCellCount() + 1, 0u);
    // Counted per cell, then each cell's rooms written in order.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ListedRoom& room : m_rooms) {
            const CellRange touched = m_roomLayout.getCells(room.grown);
            for (std::uint32_t row = touched.row0; row <= touched.row1; ++row) {
                for (std::uint32_t column = touched.column0; column <= touched.column1; ++column) {
                    const std::size_t cell = m_roomLayout.getCellIndex(column, row);
                    if (pass == 0) {
                        ++m_roomCellStarts[cell + 1];
                        m_roomRowBits[row] |= 1u << column;
                    } else {
                        m_roomEntries[m_roomCellStarts[cell]++] = room;
                    }
                }
            }
        }
        if (pass == 0) {
            for (std::size_t cell = 1; cell < m_roomCellStarts.size(); ++cell) {
                m_roomCellStarts[cell] += m_roomCellStarts[cell - 1];
            }
            // A room about as large as a cell touches four: room for that
            // many for as many rooms as the frame may have.
            m_roomEntries.reserve(4 * rooms.capacity());
            m_roomEntries.resize(m_roomCellStarts.back());
        } else {
            // Filling moved each start to the next cell's: back by one cell.
            for (std::size_t cell = m_roomCellStarts.size() - 1; cell > 0; --cell) {
                m_roomCellStarts[cell] = m_roomCellStarts[cell - 1];
            }
            m_roomCellStarts[0] = 0;
        }
    }
}

void KeepOutArea::setRoomReach(float reach) {
    if (m_rooms.empty()) {
        return;
    }
    // An anchor whose label meets a room lies within reach and half the gap
    // of the room grown by the gap; the margin covers the roundings of the
    // label's and the room's sides, relative to the coordinates' size (a
    // length in view units would mark every cell of a view in small units).
    const LabelRect& area = m_roomArea;
    const double size = std::max({std::fabs(static_cast<double>(area.left)),
                                  std::fabs(static_cast<double>(area.right)),
                                  std::fabs(static_cast<double>(area.top)),
                                  std::fabs(static_cast<double>(area.bottom))}) +
                        static_cast<double>(reach) + static_cast<double>(m_halfGap);
    const double spread = static_cast<double>(reach) + static_cast<double>(m_halfGap) + 1e-5 * size;
    std::fill(std::begin(m_reachRowBits), std::end(m_reachRowBits), std::uint64_t{0});
    for (const ListedRoom& room : m_rooms) {
        const LabelRect& grown = room.grown;
        const CellRange cells =
            m_reachLayout.getCells({floatAtMost(static_cast<double>(grown.left) - spread),
                                    floatAtMost(static_cast<double>(grown.top) - spread),
                                    floatAtLeast(static_cast<double>(grown.right) + spread),
                                    floatAtLeast(static_cast<double>(grown.bottom) + spread)});
        const std::uint64_t columns = (~std::uint64_t{0} >> (63u - (cells.column1 - cells.column0)))
                                      << cells.column0;
        for (std::uint32_t row = cells.row0; row <= cells.row1; ++row) {
            m_reachRowBits[row] |= columns;
        }
    }
}

bool KeepOutArea::blocksForOthersRooms(const LabelRect& rect, std::uint32_t owner) const {
    bool blocked = false;
    forEachRoomNear(rect, owner, [&](const LabelRect&) { blocked = true; });
    return blocked;
}

std::uint32_t KeepOutArea::findBlockedLanes(const RelativeCandidateRects& rects, float x, float y,
                                            const LabelRect& span) const {
    // Only what meets the span can meet a lane: the rectangles found round
    // the span are tested against every lane.
    std::uint32_t blocked = 0;
    const auto laneRect = [&](std::size_t lane) {
        return LabelRect{x + rects.left[lane], y + rects.top[lane], x + rects.right[lane],
                         y + rects.bottom[lane]};
    };
    for (const LabelRect& out : m_rectangles) {
        if (!overlapsInterior(span, out)) {
            continue;
        }
        for (std::size_t lane = 0; lane < rects.laneCount; ++lane) {
            blocked |= overlapsInterior(laneRect(lane), out) ? 1u << lane : 0u;
        }
    }
    if (coversMaskedCell(span)) {
        for (std::size_t lane = 0; lane < rects.laneCount; ++lane) {
            blocked |= coversMaskedCell(laneRect(lane)) ? 1u << lane : 0u;
        }
    }
    return blocked;
}

bool KeepOutArea::blocksRect(const LabelRect& rect) const {
    for (const LabelRect& out : m_rectangles) {
        if (overlapsInterior(rect, out)) {
            return true;
        }
    }
    return coversMaskedCell(rect);
}

}  // namespace internal
}  // namespace Varnek
