// The greedy callout yardstick.
#include "CalloutBaseline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <testing/PlacementTesting.h>

namespace VarnekBench {

using Varnek::LabelBackground;
using Varnek::LabelRect;
using Varnek::PlacedLabel;
using Point = Varnek::Vector<float, 3>;

namespace {

constexpr std::size_t s_rings = 3;
constexpr std::size_t s_directions = 16;

// Interiors meet; touching is allowed.
bool overlap(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool holdsStrictly(const LabelRect& rect, const Point& p) {
    return rect.left < p[0] && p[0] < rect.right && rect.top < p[1] && p[1] < rect.bottom;
}

struct Leader {
    Point from;
    Point to;
};

// The unit vector of direction k, clockwise from straight above (y down),
// from exact constants rather than libm, so that every build finds the
// same places.
void direction(std::size_t k, double& x, double& y) {
    static constexpr double s_first[5] = {0.0, 0.38268343236508978, 0.70710678118654752,
                                          0.92387953251128674, 1.0};
    const std::size_t quarter = k / 4;
    const std::size_t step = k % 4;
    const double along = s_first[step];
    const double across = s_first[4 - step];
    // Quarter 0: up to right; 1: right to down; 2: down to left; 3: left to up.
    const double xs[4] = {along, across, -along, -across};
    const double ys[4] = {-across, along, across, -along};
    x = xs[quarter];
    y = ys[quarter];
}

}  // namespace

std::size_t placeCalloutsGreedily(const PlacementScene& scene, const LabelBackground& background,
                                  const std::vector<PlacedLabel>& placed, float distance) {
    const LabelRect& view = scene.viewport;
    std::vector<LabelRect> rects;
    for (const PlacedLabel& label : placed) {
        if (label.visible) {
            rects.push_back(label.bounds);
        }
    }
    std::vector<Leader> leaders;
    std::vector<std::uint32_t> nearRects;
    std::vector<std::uint32_t> nearAnchors;
    std::vector<std::uint32_t> nearLeaders;
    std::size_t shown = 0;
    const double d = distance;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Point& anchor = scene.requests[i].anchor;
        if (placed[i].visible || placed[i].hiddenReason != Varnek::LabelHiddenReason::NoRoom ||
            !(anchor[0] >= view.left && anchor[0] <= view.right && anchor[1] >= view.top &&
              anchor[1] <= view.bottom)) {
            continue;
        }
        const Point& size = scene.requests[i].size;
        const Point offset = background.getOffset(LabelBackground::Center, size);
        Point minimum;
        Point maximum;
        background.getPolygonExtent(LabelBackground::Center, size, offset, minimum, maximum);
        const double halfWidth = 0.5 * (static_cast<double>(maximum[0]) - minimum[0]);
        const double halfHeight = 0.5 * (static_cast<double>(maximum[1]) - minimum[1]);
        const double clearance = std::min(halfWidth, halfHeight) / 32.0;
        // Everything a place, its leader and the clearance can reach.
        const double reach = d + 2.0 * (halfWidth + halfHeight) + clearance;
        const LabelRect area{
            static_cast<float>(anchor[0] - reach), static_cast<float>(anchor[1] - reach),
            static_cast<float>(anchor[0] + reach), static_cast<float>(anchor[1] + reach)};
        nearRects.clear();
        nearAnchors.clear();
        nearLeaders.clear();
        for (std::size_t r = 0; r < rects.size(); ++r) {
            if (overlap(rects[r], area)) {
                nearRects.push_back(static_cast<std::uint32_t>(r));
            }
        }
        for (std::size_t a = 0; a < scene.requests.size(); ++a) {
            if (a != i && holdsStrictly(area, scene.requests[a].anchor)) {
                nearAnchors.push_back(static_cast<std::uint32_t>(a));
            }
        }
        for (std::size_t l = 0; l < leaders.size(); ++l) {
            const Leader& leader = leaders[l];
            const LabelRect box{
                std::min(leader.from[0], leader.to[0]), std::min(leader.from[1], leader.to[1]),
                std::max(leader.from[0], leader.to[0]), std::max(leader.from[1], leader.to[1])};
            if (box.left <= area.right && area.left <= box.right && box.top <= area.bottom &&
                area.top <= box.bottom) {
                nearLeaders.push_back(static_cast<std::uint32_t>(l));
            }
        }
        bool found = false;
        for (std::size_t ring = 1; !found && ring <= s_rings; ++ring) {
            const double t = d * static_cast<double>(ring) / s_rings * (1.0 - 1.0 / 4096.0);
            for (std::size_t k = 0; !found && k < s_directions; ++k) {
                double ux = 0.0;
                double uy = 0.0;
                direction(k, ux, uy);
                // The centre along the direction, so far that the body's
                // bounds begin t from the anchor.
                const double toEdge = std::fabs(ux) * halfHeight >= std::fabs(uy) * halfWidth
                                          ? halfWidth / std::fabs(ux)
                                          : halfHeight / std::fabs(uy);
                const double cx = anchor[0] + ux * (t + toEdge);
                const double cy = anchor[1] + uy * (t + toEdge);
                const LabelRect body{
                    static_cast<float>(cx - halfWidth), static_cast<float>(cy - halfHeight),
                    static_cast<float>(cx + halfWidth), static_cast<float>(cy + halfHeight)};
                const Point end{std::clamp(anchor[0], body.left, body.right),
                                std::clamp(anchor[1], body.top, body.bottom), 0.0F};
                const double away = std::hypot(static_cast<double>(end[0]) - anchor[0],
                                               static_cast<double>(end[1]) - anchor[1]);
                if (!(away > 0.0 && away <= d) || body.left < view.left ||
                    body.right > view.right || body.top < view.top || body.bottom > view.bottom) {
                    continue;
                }
                bool free = true;
                for (std::size_t n = 0; free && n < nearRects.size(); ++n) {
                    const LabelRect& other = rects[nearRects[n]];
                    free = !overlap(body, other) &&
                           !VarnekTesting::segmentEntersRect(anchor, end, other);
                }
                for (std::size_t n = 0; free && n < nearAnchors.size(); ++n) {
                    const Point& other = scene.requests[nearAnchors[n]].anchor;
                    free = !holdsStrictly(body, other) &&
                           VarnekTesting::distanceToSegment(other, anchor, end) > clearance;
                }
                for (std::size_t n = 0; free && n < nearLeaders.size(); ++n) {
                    const Leader& other = leaders[nearLeaders[n]];
                    free = !VarnekTesting::segmentsMeet(anchor, end, other.from, other.to) &&
                           !VarnekTesting::segmentEntersRect(other.from, other.to, body);
                }
                if (free) {
                    rects.push_back(body);
                    leaders.push_back({anchor, end});
                    found = true;
                }
            }
        }
        shown += found ? 1 : 0;
    }
    return shown;
}

}  // namespace VarnekBench
