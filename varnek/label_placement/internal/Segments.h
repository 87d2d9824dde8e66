// Tests of straight segments (a callout's leader) against segments, points
// and rectangles, from single-precision ends. Which side of a line a point
// lies on is decided exactly for every finite float: in double precision
// first, taken when it is farther from zero than its rounding can reach,
// else from the exact sum of its six products of two floats. (A difference
// of two floats is not exact in double when their magnitudes lie far apart,
// 1e-12 and 1e3 say, so the rounded turn alone may name the wrong side.)
// Which side of a perpendicular a point lies on, and whether a point lies
// within a distance of a segment, are decided alike: in double precision
// first, with a proven bound on its rounding, else exactly.
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

// The sign of the turn a -> b -> c, exact: the sum of its six products of
// two floats (each exact in double) formed without rounding. Out of line:
// the rounded turn decides nearly every case.
int exactTurnSignOf(float ax, float ay, float bx, float by, float cx, float cy);

// The sign of left + right, a sum of two products of float differences
// each computed in double, where it is certain: such a sum differs from the
// exact one by less than (3 + 2^-49) 2^-53 times the two products'
// magnitudes (no product of float differences under- or overflows in
// double), so a sum beyond that bound has the exact sign; 0 where only the
// exact sum can tell.
inline int certainSignOf(double sum, double left, double right) {
    const double bound = (3.0 + 16.0 / 9007199254740992.0) / 9007199254740992.0 *
                         (std::fabs(left) + std::fabs(right));
    return sum > bound ? 1 : (sum < -bound ? -1 : 0);
}

// The sign of the turn a -> b -> c (1 counter-clockwise with y up, -1
// clockwise, 0 on one line), exact for finite floats.
inline int turnSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    const double left = (static_cast<double>(bx) - ax) * (static_cast<double>(cy) - ay);
    const double right = (static_cast<double>(by) - ay) * (static_cast<double>(cx) - ax);
    const int sign = certainSignOf(left - right, left, right);
    return sign != 0 ? sign : exactTurnSignOf(ax, ay, bx, by, cx, cy);
}

// The sign of (b - a) . (c - a), exact: as exactTurnSignOf, from its eight
// products of two floats.
int exactDotSignOf(float ax, float ay, float bx, float by, float cx, float cy);

// The sign of (b - a) . (c - a) (1 when c lies beyond the perpendicular to
// a -> b through a, towards b), exact for finite floats.
inline int dotSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    const double left = (static_cast<double>(bx) - ax) * (static_cast<double>(cx) - ax);
    const double right = (static_cast<double>(by) - ay) * (static_cast<double>(cy) - ay);
    const int sign = certainSignOf(left + right, left, right);
    return sign != 0 ? sign : exactDotSignOf(ax, ay, bx, by, cx, cy);
}

// The sign of |p - e|^2 - distance^2, and of the squared distance of p
// from the line through the segment less distance^2 (times the segment's
// squared length), exact for finite floats: from the exact sums of their
// products. Out of line: the rounded filters below decide nearly always.
int exactEndDistanceSignOf(float ex, float ey, float x, float y, float distance);
int exactLineDistanceSignOf(const Segment& s, float x, float y, float distance);

// Whether (x, y) lies within distance of (ex, ey) (closed). The rounded
// squared distance lies within (1 + 2^-53)^4 of the exact one (a
// difference of two floats in double rounds once, and nothing under- or
// overflows), so one farther from distance^2 than 2^-48 of it decides.
inline bool pointNearEnd(float ex, float ey, float x, float y, float distance) {
    const double px = static_cast<double>(x) - ex;
    const double py = static_cast<double>(y) - ey;
    const double squared = px * px + py * py;
    const double reach = static_cast<double>(distance) * distance;
    if (squared * (1.0 - 1.0 / 281474976710656.0) > reach) {
        return false;
    }
    if (squared * (1.0 + 1.0 / 281474976710656.0) <= reach) {
        return true;
    }
    return exactEndDistanceSignOf(ex, ey, x, y, distance) <= 0;
}

// Whether (x, y) lies within distance of the line through the segment
// (closed), for a segment of some length: whether the turn t of the
// segment's ends and the point has t^2 <= distance^2 |s|^2. The rounded
// turn lies within 2^-50 of its products' magnitudes of the exact one (the
// turn's bound), and every other rounding is relative, so far less than
// the 2^-40 either side is given.
inline bool pointNearLine(const Segment& s, float x, float y, float distance) {
    const double dx = static_cast<double>(s.x1) - s.x0;
    const double dy = static_cast<double>(s.y1) - s.y0;
    const double left = dx * (static_cast<double>(y) - s.y0);
    const double right = dy * (static_cast<double>(x) - s.x0);
    const double error = (std::fabs(left) + std::fabs(right)) / 1125899906842624.0;
    const double turn = std::fabs(left - right);
    const double reach = static_cast<double>(distance) * distance * (dx * dx + dy * dy);
    const double slack = 1.0 / 1099511627776.0;
    const double least = turn - error;
    if (least > 0.0 && least * least * (1.0 - slack) > reach * (1.0 + slack)) {
        return false;
    }
    const double most = turn + error;
    if (most * most * (1.0 + slack) <= reach * (1.0 - slack)) {
        return true;
    }
    return exactLineDistanceSignOf(s, x, y, distance) <= 0;
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

// The sign of the turn a -> b -> (x - ox, y - oy), exact: a point given
// relative to an origin, both floats, whose difference is not rounded.
// Out of line: turnSignFrom decides nearly every case.
int exactTurnSignFrom(float ax, float ay, float bx, float by, float x, float y, float ox, float oy);

// The sign of the turn a -> b -> (x - ox, y - oy), exact for finite
// floats. In double the edge's differences round once, the point's twice
// (relative to the origin, then to a), so the turn differs from the exact
// one by less than 5 2^-53 times the sum of the edge's differences times
// the point's (and the point's relative coordinates): 2^-49 of that sum
// bounds it with room for the bound's own rounding.
inline int turnSignFrom(float ax, float ay, float bx, float by, float x, float y, float ox,
                        float oy) {
    const double px = static_cast<double>(x) - ox;
    const double py = static_cast<double>(y) - oy;
    const double ex = static_cast<double>(bx) - ax;
    const double ey = static_cast<double>(by) - ay;
    const double fx = px - ax;
    const double fy = py - ay;
    const double turn = ex * fy - ey * fx;
    const double bound = (std::fabs(ex) * (std::fabs(py) + std::fabs(fy)) +
                          std::fabs(ey) * (std::fabs(px) + std::fabs(fx))) /
                         562949953421312.0;
    if (turn > bound) {
        return 1;
    }
    if (turn < -bound) {
        return -1;
    }
    return exactTurnSignFrom(ax, ay, bx, by, x, y, ox, oy);
}

// Whether the point (x, y) sees the corner b of a polygon given relative
// to the origin (ox, oy), turning clockwise on screen (y down, its inside
// to the right) from a through b to c: whether the segment from the point
// to the corner keeps out of the inside next to it. Decided exactly for
// finite floats on the polygon as given, the point relative to the origin
// unrounded.
inline bool seesCorner(float ax, float ay, float bx, float by, float cx, float cy, float x, float y,
                       float ox, float oy) {
    // Next to a convex corner the inside lies to the right of both edges,
    // next to a straight or reflex one to the right of either: the first
    // edge decides alone when the point lies outside it at a convex corner,
    // inside it at another.
    const bool convex = turnSignOf(ax, ay, bx, by, cx, cy) > 0;
    const bool outsideIn = turnSignFrom(ax, ay, bx, by, x, y, ox, oy) <= 0;
    if (outsideIn == convex) {
        return convex;
    }
    return turnSignFrom(bx, by, cx, cy, x, y, ox, oy) <= 0;
}

// Whether the point lies within distance (at least 0) of the segment
// (closed: at distance 0, whether it lies on it), decided exactly for
// finite floats: nearest the segment is its first end, its last end or
// the foot of the perpendicular between them, each chosen and compared
// exactly.
inline bool pointNearSegment(const Segment& s, float x, float y, float distance) {
    // Farther than the distance from the segment's box on one axis: the
    // rounded difference beyond it by more than its rounding.
    const double beyond = distance * (1.0 + 1.0 / 1048576.0);
    if (std::min<double>(s.x0, s.x1) - x > beyond || x - std::max<double>(s.x0, s.x1) > beyond ||
        std::min<double>(s.y0, s.y1) - y > beyond || y - std::max<double>(s.y0, s.y1) > beyond) {
        return false;
    }
    if (dotSignOf(s.x0, s.y0, s.x1, s.y1, x, y) <= 0) {
        return pointNearEnd(s.x0, s.y0, x, y, distance);
    }
    if (dotSignOf(s.x1, s.y1, s.x0, s.y0, x, y) <= 0) {
        return pointNearEnd(s.x1, s.y1, x, y, distance);
    }
    return pointNearLine(s, x, y, distance);
}

// The box of the segment.
inline LabelRect boxOf(const Segment& s) {
    return {std::min(s.x0, s.x1), std::min(s.y0, s.y1), std::max(s.x0, s.x1), std::max(s.y0, s.y1)};
}

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_SEGMENTS_H
