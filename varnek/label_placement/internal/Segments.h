// Tests of straight segments (a callout's leader) against segments, points
// and rectangles, in double precision from single-precision ends: every
// difference of two floats and every product of two such differences is
// exact there, so the orientation of three points is decided by one
// rounding at most. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H

#include <algorithm>
#include <cstddef>

#include <varnek/label_placement/LabelRect.h>

namespace Varnek {
namespace internal {

struct Segment {
    float x0;
    float y0;
    float x1;
    float y1;
};

// The sign of the turn a -> b -> c: positive, negative or zero.
inline double turnOf(double ax, double ay, double bx, double by, double cx, double cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Whether two segments share a point (touching, overlapping and collinear
// overlap included).
inline bool segmentsMeet(const Segment& a, const Segment& b) {
    if (std::max(a.x0, a.x1) < std::min(b.x0, b.x1) ||
        std::max(b.x0, b.x1) < std::min(a.x0, a.x1) ||
        std::max(a.y0, a.y1) < std::min(b.y0, b.y1) ||
        std::max(b.y0, b.y1) < std::min(a.y0, a.y1)) {
        return false;
    }
    const double d1 = turnOf(a.x0, a.y0, a.x1, a.y1, b.x0, b.y0);
    const double d2 = turnOf(a.x0, a.y0, a.x1, a.y1, b.x1, b.y1);
    const double d3 = turnOf(b.x0, b.y0, b.x1, b.y1, a.x0, a.y0);
    const double d4 = turnOf(b.x0, b.y0, b.x1, b.y1, a.x1, a.y1);
    // Collinear segments whose boxes meet share a point.
    return !(d1 > 0.0 && d2 > 0.0) && !(d1 < 0.0 && d2 < 0.0) && !(d3 > 0.0 && d4 > 0.0) &&
           !(d3 < 0.0 && d4 < 0.0);
}

// Whether the segment has a point strictly inside the rectangle (running
// along an edge or through a corner does not count).
inline bool segmentEntersRect(const Segment& s, const LabelRect& r) {
    // Wholly on one side of the rectangle (a NaN goes on to the test).
    if (std::max(s.x0, s.x1) <= r.left || std::min(s.x0, s.x1) >= r.right ||
        std::max(s.y0, s.y1) <= r.top || std::min(s.y0, s.y1) >= r.bottom) {
        return false;
    }
    double t0 = 0.0;
    double t1 = 1.0;
    const double ends[2][2] = {{s.x0, s.x1}, {s.y0, s.y1}};
    const double lows[2] = {r.left, r.top};
    const double highs[2] = {r.right, r.bottom};
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const double from = ends[axis][0];
        const double step = ends[axis][1] - from;
        if (step == 0.0) {
            if (!(lows[axis] < from && from < highs[axis])) {
                return false;
            }
            continue;
        }
        double enter = (lows[axis] - from) / step;
        double leave = (highs[axis] - from) / step;
        if (enter > leave) {
            std::swap(enter, leave);
        }
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
    }
    return t0 < t1;
}

// Whether the point lies on the segment (its ends included), decided
// exactly whatever the magnitudes: the turn a -> b -> point expands to six
// products of two floats, each exact in double, whose sum is formed
// without rounding (a growing expansion of error-free sums) and is zero
// exactly when all its parts are.
inline bool pointOnSegment(const Segment& s, float x, float y) {
    if (!(std::min(s.x0, s.x1) <= x && x <= std::max(s.x0, s.x1) && std::min(s.y0, s.y1) <= y &&
          y <= std::max(s.y0, s.y1))) {
        return false;
    }
    const double terms[6] = {static_cast<double>(s.x1) * y,    -static_cast<double>(s.x1) * s.y0,
                             -static_cast<double>(s.x0) * y,   -static_cast<double>(s.y1) * x,
                             static_cast<double>(s.y1) * s.x0, static_cast<double>(s.y0) * x};
    double parts[6] = {};
    std::size_t count = 0;
    for (const double term : terms) {
        double sum = term;
        for (std::size_t i = 0; i < count; ++i) {
            const double total = parts[i] + sum;
            const double taken = total - parts[i];
            parts[i] = (parts[i] - (total - taken)) + (sum - taken);
            sum = total;
        }
        parts[count++] = sum;
    }
    return std::all_of(parts, parts + count, [](double part) { return part == 0.0; });
}

// Whether the point lies within distance of the segment (closed; a point
// on the segment is found exactly, so even at distance 0).
inline bool pointNearSegment(const Segment& s, float x, float y, double distance) {
    // Clearly farther than the distance from the segment's box on one axis
    // (by more than the test's rounding).
    const double beyond = distance * (1.0 + 1.0 / 1048576.0);
    if (std::min<double>(s.x0, s.x1) - x > beyond || x - std::max<double>(s.x0, s.x1) > beyond ||
        std::min<double>(s.y0, s.y1) - y > beyond || y - std::max<double>(s.y0, s.y1) > beyond) {
        return false;
    }
    const double dx = static_cast<double>(s.x1) - s.x0;
    const double dy = static_cast<double>(s.y1) - s.y0;
    const double px = static_cast<double>(x) - s.x0;
    const double py = static_cast<double>(y) - s.y0;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? (px * dx + py * dy) / length2 : 0.0;
    t = std::min(1.0, std::max(0.0, t));
    const double ex = px - t * dx;
    const double ey = py - t * dy;
    return ex * ex + ey * ey <= distance * distance || pointOnSegment(s, x, y);
}

// The box of the segment.
inline LabelRect boxOf(const Segment& s) {
    return {std::min(s.x0, s.x1), std::min(s.y0, s.y1), std::max(s.x0, s.x1), std::max(s.y0, s.y1)};
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H
