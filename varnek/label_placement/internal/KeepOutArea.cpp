#include <varnek/label_placement/internal/KeepOutArea.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace Varnek {
namespace internal {
namespace {

// The cells of a row or column of count cells spanning [low, high] whose
// interior the open interval (from, to) meets: [first, last), empty when
// it meets none (or a value is NaN, or the span is empty).
struct CellRange {
    int first;
    int last;
};

CellRange cellsMet(float from, float to, const KeepOutArea::CellAxis& axis) {
    const int count = axis.count;
    const double scale = axis.scale;
    const double begin = (static_cast<double>(from) - axis.low) * scale;
    const double end = (static_cast<double>(to) - axis.low) * scale;
    // Also false for NaN, and for an empty span (inf * 0 or inf - inf).
    if (!(begin < end) || !(end > 0.0) || !(begin < static_cast<double>(count))) {
        return {0, 0};
    }
    const double first = begin > 0.0 ? std::floor(begin) : 0.0;
    const double last =
        end < static_cast<double>(count) ? std::ceil(end) : static_cast<double>(count);
    return {static_cast<int>(first), static_cast<int>(last)};
}

// Whether a and b share an interior point.
bool overlapsInterior(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
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

bool KeepOutArea::coversMaskedCell(const LabelRect& rect) const {
    // A NaN side fails every comparison and goes on to the exact test.
    if (m_columns == 0 || rect.right <= m_maskReach.left || rect.left >= m_maskReach.right ||
        rect.bottom <= m_maskReach.top || rect.top >= m_maskReach.bottom) {
        return false;
    }
    const CellRange columns = cellsMet(rect.left, rect.right, m_columnAxis);
    const CellRange rows = cellsMet(rect.top, rect.bottom, m_rowAxis);
    if (columns.first == columns.last || rows.first == rows.last) {
        return false;
    }
    const auto stride = static_cast<std::size_t>(m_columns) + 1;
    const auto at = [&](int row, int column) {
        return m_counts[static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(column)];
    };
    // Counted modulo 2^32: exact below four billion cells.
    const std::uint32_t set = at(rows.last, columns.last) - at(rows.first, columns.last) -
                              at(rows.last, columns.first) + at(rows.first, columns.first);
    return set != 0;
}

void KeepOutArea::setRooms(const std::vector<Room>& rooms, const LabelRect& viewport,
                           float halfGap) {
    m_rooms.clear();
    m_rooms.reserve(rooms.capacity());
    m_halfGap = halfGap;
    const auto cells = static_cast<int>(s_roomCellsPerAxis);
    m_roomColumns = CellAxis::over(viewport.left, viewport.right, cells);
    m_roomRows = CellAxis::over(viewport.top, viewport.bottom, cells);
    m_roomCellStarts.assign(s_roomCellsPerAxis * s_roomCellsPerAxis + 1, 0u);
    m_roomEntries.clear();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t r = 0; r < rooms.size(); ++r) {
            const LabelRect& b = rooms[r].bounds;
            // Grown twice: a room holds off labels whose grown rectangle
            // reaches into its own grown one.
            const float reach = 2.0f * halfGap;
            const CellRange columns = cellsMet(b.left - reach, b.right + reach, m_roomColumns);
            const CellRange rows = cellsMet(b.top - reach, b.bottom + reach, m_roomRows);
            if (pass == 0) {
                m_rooms.push_back({grow(b), rooms[r].owner, rows.first, columns.first});
            }
            for (int row = rows.first; row < rows.last; ++row) {
                for (int column = columns.first; column < columns.last; ++column) {
                    const std::size_t cell = static_cast<std::size_t>(row) * s_roomCellsPerAxis +
                                             static_cast<std::size_t>(column);
                    if (pass == 0) {
                        ++m_roomCellStarts[cell + 1];
                    } else {
                        m_roomEntries[m_roomCellStarts[cell]++] = static_cast<std::uint32_t>(r);
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

template <typename Visit>
void KeepOutArea::forEachRoomNear(const LabelRect& rect, std::uint32_t owner, Visit&& visit) const {
    const LabelRect grown = grow(rect);
    const CellRange columns = cellsMet(grown.left, grown.right, m_roomColumns);
    const CellRange rows = cellsMet(grown.top, grown.bottom, m_roomRows);
    for (int row = rows.first; row < rows.last; ++row) {
        for (int column = columns.first; column < columns.last; ++column) {
            const std::size_t cell = static_cast<std::size_t>(row) * s_roomCellsPerAxis +
                                     static_cast<std::size_t>(column);
            for (std::uint32_t e = m_roomCellStarts[cell]; e < m_roomCellStarts[cell + 1]; ++e) {
                const ListedRoom& room = m_rooms[m_roomEntries[e]];
                // Each room once, in the first cell it shares with rect.
                const bool first = std::max(room.firstRow, rows.first) == row &&
                                   std::max(room.firstColumn, columns.first) == column;
                if (first && room.owner != owner && overlapsInterior(grown, room.grown)) {
                    visit(room.grown);
                }
            }
        }
    }
}

bool KeepOutArea::blocksForOthersRooms(const LabelRect& rect, std::uint32_t owner) const {
    bool blocked = false;
    if (!m_rooms.empty()) {
        forEachRoomNear(rect, owner, [&](const LabelRect&) { blocked = true; });
    }
    return blocked;
}

std::uint32_t KeepOutArea::getBlockedLanes(const RelativeCandidateRects& rects, float x, float y,
                                           std::uint32_t owner, const LabelRect& span,
                                           bool rooms) const {
    // Only what meets the span can meet a lane: the rectangles and rooms
    // found round the span once are tested against every lane.
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
    if (rooms && !m_rooms.empty()) {
        // A room is grown by the gap, as a lane is: they keep the gap
        // between them. The lanes are grown once, when a room is near.
        LabelRect grownLanes[s_candidateLanes];
        bool grownYet = false;
        forEachRoomNear(span, owner, [&](const LabelRect& room) {
            if (!grownYet) {
                for (std::size_t lane = 0; lane < rects.laneCount; ++lane) {
                    grownLanes[lane] = grow(laneRect(lane));
                }
                grownYet = true;
            }
            for (std::size_t lane = 0; lane < rects.laneCount; ++lane) {
                blocked |= overlapsInterior(grownLanes[lane], room) ? 1u << lane : 0u;
            }
        });
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
