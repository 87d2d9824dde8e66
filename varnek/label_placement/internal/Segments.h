// Tests of straight segments (a callout's leader) against segments, points
// and rectangles, from single-precision ends. Which side of a line a point
// lies on is decided exactly for every finite float: in double precision
// first, taken when it is farther from zero than its rounding can reach,
// else from the exact sum of its six products of two floats. (A difference
// of two floats is not exact in double when their magnitudes lie far apart,
// 1e-12 and 1e3 say, so the rounded turn alone may name the wrong side.)
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H

#include <algorithm>
#include <cmath>
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

// The turn a -> b -> c in double precision, rounded: its sign may be wrong
// when the three points lie nearly on one line (see turnSignOf).
inline double turnOf(double ax, double ay, double bx, double by, double cx, double cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// The sign of the turn a -> b -> c, exact: the sum of its six products of
// two floats (each exact in double) formed without rounding. Out of line:
// the rounded turn decides nearly every case.
int exactTurnSignOf(float ax, float ay, float bx, float by, float cx, float cy);

// The sign of the turn a -> b -> c (1 counter-clockwise with y up, -1
// clockwise, 0 on one line), exact for finite floats. The turn in double
// differs from the exact one by less than (3 + 2^-49) 2^-53 times the sum of
// its two products' magnitudes (no product of float differences under- or
// overflows in double), so a turn beyond that bound has the exact sign.
inline int turnSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    const double left = (static_cast<double>(bx) - ax) * (static_cast<double>(cy) - ay);
    const double right = (static_cast<double>(by) - ay) * (static_cast<double>(cx) - ax);
    const double turn = left - right;
    const double bound = (3.0 + 16.0 / 9007199254740992.0) / 9007199254740992.0 *
                         (std::fabs(left) + std::fabs(right));
    if (turn > bound) {
        return 1;
    }
    if (turn < -bound) {
        return -1;
    }
    return exactTurnSignOf(ax, ay, bx, by, cx, cy);
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
    // Collinear segments whose boxes meet share a point.
    return turnSignOf(a.x0, a.y0, a.x1, a.y1, b.x0, b.y0) *
                   turnSignOf(a.x0, a.y0, a.x1, a.y1, b.x1, b.y1) <=
               0 &&
           turnSignOf(b.x0, b.y0, b.x1, b.y1, a.x0, a.y0) *
                   turnSignOf(b.x0, b.y0, b.x1, b.y1, a.x1, a.y1) <=
               0;
}

// Whether the segment has a point strictly inside the rectangle (running
// along an edge or through a corner does not count), decided exactly for
// finite ends (the rectangle may reach infinity).
inline bool segmentEntersRect(const Segment& s, const LabelRect& r) {
    // Wholly on one side of the rectangle (a NaN goes on to the test).
    const float minX = std::min(s.x0, s.x1);
    const float maxX = std::max(s.x0, s.x1);
    const float minY = std::min(s.y0, s.y1);
    const float maxY = std::max(s.y0, s.y1);
    if (maxX <= r.left || minX >= r.right || maxY <= r.top || minY >= r.bottom) {
        return false;
    }
    // An empty rectangle has no inside; a segment along an axis (or a
    // point) whose box reaches into the inside on both axes enters it.
    if (!(r.left < r.right && r.top < r.bottom)) {
        return false;
    }
    if (s.x0 == s.x1 || s.y0 == s.y1) {
        return true;
    }
    // Else it is a diagonal of its box, whose interior holds every point of
    // the segment but its ends: it enters the rectangle when its line
    // enters the part of the rectangle within its box, that is when two
    // corners of that part lie strictly on either side of the line. The
    // corners farthest to either side are those the line's normal
    // (y0 - y1, x1 - x0) points to and from.
    const float left = std::max(r.left, minX);
    const float top = std::max(r.top, minY);
    const float right = std::min(r.right, maxX);
    const float bottom = std::min(r.bottom, maxY);
    const bool rising = s.y1 > s.y0;
    const bool forward = s.x1 > s.x0;
    return turnSignOf(s.x0, s.y0, s.x1, s.y1, rising ? left : right, forward ? bottom : top) > 0 &&
           turnSignOf(s.x0, s.y0, s.x1, s.y1, rising ? right : left, forward ? top : bottom) < 0;
}

// Whether the point lies on the segment (its ends included), decided
// exactly for finite floats.
inline bool pointOnSegment(const Segment& s, float x, float y) {
    return std::min(s.x0, s.x1) <= x && x <= std::max(s.x0, s.x1) && std::min(s.y0, s.y1) <= y &&
           y <= std::max(s.y0, s.y1) && turnSignOf(s.x0, s.y0, s.x1, s.y1, x, y) == 0;
}

// Whether the point lies within distance of the segment (closed). The
// distance is rounded: a point whose distance from the segment lies within
// a few 2^-52 of the largest of the coordinates (relative to the segment's
// first end) of the distance either way may be taken either way; a point
// on the segment is found exactly, so even at distance 0.
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
