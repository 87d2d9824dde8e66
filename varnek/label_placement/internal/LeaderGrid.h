// The leaders of a frame's callouts by grid cell: a leader is listed in
// every cell its box touches, so that a search reads only the leaders near
// a place. Nothing is allocated once the cells and the listings have grown.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H

#include <cstddef>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/internal/BoxGrid.h>
#include <varnek/label_placement/internal/Segments.h>
#include <varnek/label_placement/internal/UniformGrid.h>

namespace Varnek {
namespace internal {

class LeaderGrid {
public:
    // Empties the grid and takes the layout, with room for leaders leaders
    // listed in listings cells in all.
    void reset(const UniformGrid& layout, std::size_t leaders, std::size_t listings) {
        m_boxes.reset(layout, leaders, listings);
        m_leaders.reserve(leaders);
        m_leaders.clear();
    }

    // Adds a leader; its index is the number of leaders before it.
    void insert(const Segment& leader) {
        m_boxes.insert(boxOf(leader));
        m_leaders.push_back(leader);
    }
    std::size_t size() const { return m_leaders.size(); }
    const Segment& operator[](std::size_t leader) const { return m_leaders[leader]; }

    // Calls visit(index, leader) once for every leader listed in a cell the
    // rectangle touches, in no particular order.
    template <typename Visit>
    void forEachNear(const LabelRect& rect, Visit&& visit) const {
        m_boxes.forEachNear(rect, [&](std::size_t leader) { visit(leader, m_leaders[leader]); });
    }

private:
    BoxGrid m_boxes;
    std::vector<Segment> m_leaders;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_LEADERGRID_H
