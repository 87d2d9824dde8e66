// The greedy and annealing baselines and the guarantee check.
#include "PlacementBaselines.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace VarnekBench {

using Varnek::LabelBackground;
using Varnek::LabelRect;
using Varnek::PlacedLabel;
using Point = Varnek::Vector<float, 3>;

namespace {

// Interiors meet; touching is allowed.
bool overlap(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const LabelRect& rect, const LabelRect& viewport) {
    return rect.left >= viewport.left && rect.right <= viewport.right && rect.top >= viewport.top &&
           rect.bottom <= viewport.bottom;
}

bool holdsStrictly(const LabelRect& rect, float x, float y) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

LabelRect at(const LabelRect& extents, const Point& anchor) {
    return {anchor[0] + extents.left, anchor[1] + extents.top, anchor[0] + extents.right,
            anchor[1] + extents.bottom};
}

// Points binned into square-ish cells at least as large as the reach asked
// for, so that everything within reach of a point lies in the 3 x 3 cells
// round it. Items keep their order within a cell.
class PointGrid {
public:
    PointGrid(const std::vector<Point>& points, float reachX, float reachY) {
        float minX = 0.0F;
        float minY = 0.0F;
        float maxX = 0.0F;
        float maxY = 0.0F;
        if (!points.empty()) {
            minX = maxX = points[0][0];
            minY = maxY = points[0][1];
        }
        for (const Point& p : points) {
            minX = std::min(minX, p[0]);
            maxX = std::max(maxX, p[0]);
            minY = std::min(minY, p[1]);
            maxY = std::max(maxY, p[1]);
        }
        m_originX = minX;
        m_originY = minY;
        m_cellWidth = std::max(reachX, 1e-3F);
        m_cellHeight = std::max(reachY, 1e-3F);
        m_columns = static_cast<std::size_t>((maxX - minX) / m_cellWidth) + 1;
        m_rows = static_cast<std::size_t>((maxY - minY) / m_cellHeight) + 1;
        m_cellStarts.assign(m_columns * m_rows + 1, 0);
        std::vector<std::size_t> cellOf(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            cellOf[i] = cell(points[i]);
            ++m_cellStarts[cellOf[i] + 1];
        }
        std::partial_sum(m_cellStarts.begin(), m_cellStarts.end(), m_cellStarts.begin());
        m_items.resize(points.size());
        std::vector<std::uint32_t> next(m_cellStarts.begin(), m_cellStarts.end() - 1);
        for (std::size_t i = 0; i < points.size(); ++i) {
            m_items[next[cellOf[i]]++] = static_cast<std::uint32_t>(i);
        }
    }

    // Calls visit(index) for every point in the 3 x 3 cells round p.
    template <typename Visit>
    void forNeighbours(const Point& p, Visit visit) const {
        const std::size_t column = columnOf(p[0]);
        const std::size_t row = rowOf(p[1]);
        for (std::size_t r = row == 0 ? 0 : row - 1; r <= row + 1 && r < m_rows; ++r) {
            for (std::size_t c = column == 0 ? 0 : column - 1; c <= column + 1 && c < m_columns;
                 ++c) {
                const std::size_t index = r * m_columns + c;
                for (std::uint32_t k = m_cellStarts[index]; k < m_cellStarts[index + 1]; ++k) {
                    visit(m_items[k]);
                }
            }
        }
    }

private:
    std::size_t columnOf(float x) const {
        const float column = (x - m_originX) / m_cellWidth;
        return std::min(m_columns - 1, static_cast<std::size_t>(std::max(column, 0.0F)));
    }
    std::size_t rowOf(float y) const {
        const float row = (y - m_originY) / m_cellHeight;
        return std::min(m_rows - 1, static_cast<std::size_t>(std::max(row, 0.0F)));
    }
    std::size_t cell(const Point& p) const { return rowOf(p[1]) * m_columns + columnOf(p[0]); }

    float m_originX = 0.0F;
    float m_originY = 0.0F;
    float m_cellWidth = 1.0F;
    float m_cellHeight = 1.0F;
    std::size_t m_columns = 1;
    std::size_t m_rows = 1;
    std::vector<std::uint32_t> m_cellStarts;
    std::vector<std::uint32_t> m_items;
};

std::vector<Point> anchorsOf(const PlacementScene& scene) {
    std::vector<Point> anchors;
    anchors.reserve(scene.requests.size());
    for (const Varnek::LabelRequest& request : scene.requests) {
        anchors.push_back(request.anchor);
    }
    return anchors;
}

// Request indices by priority, higher first, ties in request order.
std::vector<std::uint32_t> priorityOrder(const PlacementScene& scene) {
    std::vector<std::uint32_t> order(scene.requests.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [&scene](std::uint32_t a, std::uint32_t b) {
        return scene.requests[a].priority > scene.requests[b].priority;
    });
    return order;
}

// Overlaps of the label at a candidate with the placed labels.
int overlapsAt(const ConflictGraph& graph, const std::vector<int>& choices, std::size_t label,
               int candidate) {
    if (candidate == s_hidden) {
        return 0;
    }
    int count = 0;
    const auto c = static_cast<std::size_t>(candidate);
    for (auto slot = graph.conflictsBegin(label, c); slot != graph.conflictsEnd(label, c); ++slot) {
        count += choices[slot->label] == static_cast<int>(slot->candidate) ? 1 : 0;
    }
    return count;
}

// The label's first allowed candidate that overlaps no shown label, or
// s_hidden.
int firstFreeCandidate(const ConflictGraph& graph, const std::vector<int>& choices,
                       std::uint32_t label) {
    for (std::size_t c = 0; c < graph.candidateCount(); ++c) {
        if (graph.isAllowed(label, c) &&
            overlapsAt(graph, choices, label, static_cast<int>(c)) == 0) {
            return static_cast<int>(c);
        }
    }
    return s_hidden;
}

// Shows every hidden label, in priority order, at its first free candidate.
void fillFreeCandidates(const ConflictGraph& graph, const std::vector<std::uint32_t>& order,
                        std::vector<int>& choices) {
    for (const std::uint32_t label : order) {
        if (choices[label] != s_hidden) {
            continue;
        }
        choices[label] = firstFreeCandidate(graph, choices, label);
    }
}

}  // namespace

std::vector<CandidateBox> candidateBoxes(
    const LabelBackground& background,
    const std::vector<LabelBackground::ReferencePoint>& referencePoints, const Point& size) {
    std::vector<CandidateBox> boxes;
    for (const LabelBackground::ReferencePoint referencePoint : referencePoints) {
        const Point offset = background.getOffset(referencePoint, size);
        const std::vector<Point> outline = background.getPolygon(referencePoint, size, offset);
        LabelRect extents{0.0F, 0.0F, 0.0F, 0.0F};
        for (const Point& p : outline) {
            extents.left = std::min(extents.left, p[0]);
            extents.top = std::min(extents.top, p[1]);
            extents.right = std::max(extents.right, p[0]);
            extents.bottom = std::max(extents.bottom, p[1]);
        }
        boxes.push_back({referencePoint, extents});
    }
    return boxes;
}

ConflictGraph::ConflictGraph(const PlacementScene& scene, std::vector<CandidateBox> boxes,
                             bool anchorsAreObstacles)
    : m_labelCount(scene.requests.size()), m_boxes(std::move(boxes)) {
    const std::size_t k = m_boxes.size();
    // Two labels can meet only if their anchors are closer than the union of
    // all candidate extents, along each axis.
    LabelRect hull = m_boxes.empty() ? LabelRect{0, 0, 0, 0} : m_boxes[0].extents;
    for (const CandidateBox& box : m_boxes) {
        hull.left = std::min(hull.left, box.extents.left);
        hull.top = std::min(hull.top, box.extents.top);
        hull.right = std::max(hull.right, box.extents.right);
        hull.bottom = std::max(hull.bottom, box.extents.bottom);
    }
    const std::vector<Point> anchors = anchorsOf(scene);
    const PointGrid grid(anchors, hull.right - hull.left, hull.bottom - hull.top);

    m_allowed.assign(m_labelCount * k, 0);
    for (std::size_t i = 0; i < m_labelCount; ++i) {
        for (std::size_t c = 0; c < k; ++c) {
            const LabelRect rect = at(m_boxes[c].extents, anchors[i]);
            bool allowed = inside(rect, scene.viewport);
            if (allowed && anchorsAreObstacles) {
                grid.forNeighbours(anchors[i], [&](std::uint32_t j) {
                    allowed =
                        allowed && (j == i || !holdsStrictly(rect, anchors[j][0], anchors[j][1]));
                });
            }
            m_allowed[i * k + c] = allowed ? 1 : 0;
        }
    }

    m_conflictStarts.assign(m_labelCount * k + 1, 0);
    for (std::size_t i = 0; i < m_labelCount; ++i) {
        for (std::size_t c = 0; c < k; ++c) {
            m_conflictStarts[i * k + c] = static_cast<std::uint32_t>(m_conflicts.size());
            if (!isAllowed(i, c)) {
                continue;
            }
            const LabelRect rect = at(m_boxes[c].extents, anchors[i]);
            grid.forNeighbours(anchors[i], [&](std::uint32_t j) {
                if (j == i) {
                    return;
                }
                for (std::size_t d = 0; d < k; ++d) {
                    if (isAllowed(j, d) && overlap(rect, at(m_boxes[d].extents, anchors[j]))) {
                        m_conflicts.push_back({j, static_cast<std::uint32_t>(d)});
                    }
                }
            });
        }
    }
    m_conflictStarts[m_labelCount * k] = static_cast<std::uint32_t>(m_conflicts.size());
}

std::vector<int> placeGreedy(const ConflictGraph& graph, const PlacementScene& scene,
                             const std::vector<int>& previous) {
    std::vector<int> choices(graph.labelCount(), s_hidden);
    for (const std::uint32_t label : priorityOrder(scene)) {
        const int before = label < previous.size() ? previous[label] : s_hidden;
        if (before != s_hidden && graph.isAllowed(label, static_cast<std::size_t>(before)) &&
            overlapsAt(graph, choices, label, before) == 0) {
            choices[label] = before;
            continue;
        }
        choices[label] = firstFreeCandidate(graph, choices, label);
    }
    return choices;
}

std::vector<int> anneal(const ConflictGraph& graph, const PlacementScene& scene,
                        std::size_t movesPerLabel, std::uint64_t seed) {
    std::vector<int> choices = placeGreedy(graph, scene, {});
    const std::size_t n = graph.labelCount();
    const std::size_t k = graph.candidateCount();

    // Per label its states: hidden first, then the allowed candidates.
    std::vector<std::uint32_t> stateStarts(n + 1, 0);
    std::vector<int> states;
    std::vector<std::uint32_t> movable;
    std::vector<std::uint32_t> stateOf(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        stateStarts[i] = static_cast<std::uint32_t>(states.size());
        states.push_back(s_hidden);
        for (std::size_t c = 0; c < k; ++c) {
            if (graph.isAllowed(i, c)) {
                if (choices[i] == static_cast<int>(c)) {
                    stateOf[i] = static_cast<std::uint32_t>(states.size() - stateStarts[i]);
                }
                states.push_back(static_cast<int>(c));
            }
        }
        if (states.size() - stateStarts[i] > 1) {
            movable.push_back(static_cast<std::uint32_t>(i));
        }
    }
    stateStarts[n] = static_cast<std::uint32_t>(states.size());

    constexpr int s_stages = 50;
    // Acceptance of one unit more energy: 2/3 at the start, a thousandth at
    // the end, by multiplication alone.
    constexpr double s_firstAcceptance = 2.0 / 3.0;
    constexpr double s_cooling = 0.8757;
    constexpr int s_largestDelta = 16;
    SplitMix64 random(seed);
    const std::size_t movesPerStage = movesPerLabel * n / s_stages;
    double acceptance = s_firstAcceptance;
    double accept[s_largestDelta + 1];
    for (int stage = 0; stage < s_stages && !movable.empty(); ++stage) {
        accept[0] = 1.0;
        for (int delta = 1; delta <= s_largestDelta; ++delta) {
            accept[delta] = accept[delta - 1] * acceptance;
        }
        for (std::size_t move = 0; move < movesPerStage; ++move) {
            const std::uint32_t label =
                movable[random.below(static_cast<std::uint32_t>(movable.size()))];
            const std::uint32_t first = stateStarts[label];
            const std::uint32_t others = stateStarts[label + 1] - first - 1;
            std::uint32_t next = random.below(others);
            next += next >= stateOf[label] ? 1U : 0U;
            const int from = choices[label];
            const int to = states[first + next];
            const int delta = (to == s_hidden ? 1 : 0) - (from == s_hidden ? 1 : 0) +
                              overlapsAt(graph, choices, label, to) -
                              overlapsAt(graph, choices, label, from);
            if (delta <= 0 || (delta <= s_largestDelta && random.unitDouble() < accept[delta])) {
                choices[label] = to;
                stateOf[label] = next;
            }
        }
        acceptance *= s_cooling;
    }

    // Hide what still overlaps a label kept before it, then show what fits.
    for (std::size_t i = 0; i < n; ++i) {
        if (choices[i] == s_hidden) {
            continue;
        }
        const auto c = static_cast<std::size_t>(choices[i]);
        for (auto slot = graph.conflictsBegin(i, c); slot != graph.conflictsEnd(i, c); ++slot) {
            if (choices[slot->label] == static_cast<int>(slot->candidate)) {
                choices[i] = s_hidden;
                break;
            }
        }
    }
    fillFreeCandidates(graph, priorityOrder(scene), choices);
    return choices;
}

std::size_t countShown(const std::vector<int>& choices) {
    return static_cast<std::size_t>(
        std::count_if(choices.begin(), choices.end(), [](int c) { return c != s_hidden; }));
}

PlacementCheck checkPlacement(const LabelRect& viewport, const std::vector<PlacedLabel>& placed) {
    PlacementCheck check;
    std::vector<Point> corners;
    std::vector<std::uint32_t> labels;
    float largestWidth = 0.0F;
    float largestHeight = 0.0F;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i].visible) {
            continue;
        }
        const LabelRect& b = placed[i].bounds;
        ++check.visible;
        check.outside += inside(b, viewport) ? 0 : 1;
        corners.emplace_back(b.left, b.top, 0.0F);
        labels.push_back(static_cast<std::uint32_t>(i));
        largestWidth = std::max(largestWidth, b.right - b.left);
        largestHeight = std::max(largestHeight, b.bottom - b.top);
    }
    // Two overlapping labels have top-left corners closer than the largest
    // label along each axis.
    const PointGrid grid(corners, largestWidth, largestHeight);
    for (std::size_t a = 0; a < corners.size(); ++a) {
        grid.forNeighbours(corners[a], [&](std::uint32_t b) {
            if (b > a && overlap(placed[labels[a]].bounds, placed[labels[b]].bounds)) {
                ++check.overlappingPairs;
            }
        });
    }
    return check;
}

PlacementCheck checkChoices(const PlacementScene& scene, const std::vector<CandidateBox>& boxes,
                            const std::vector<int>& choices) {
    std::vector<PlacedLabel> placed(choices.size());
    for (std::size_t i = 0; i < choices.size(); ++i) {
        placed[i].visible = choices[i] != s_hidden;
        placed[i].referencePoint = LabelBackground::Center;
        if (placed[i].visible) {
            const CandidateBox& box = boxes[static_cast<std::size_t>(choices[i])];
            placed[i].referencePoint = box.referencePoint;
            placed[i].bounds = at(box.extents, scene.requests[i].anchor);
        }
    }
    return checkPlacement(scene.viewport, placed);
}

}  // namespace VarnekBench
