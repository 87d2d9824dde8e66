#include <varnek/label_shape/internal/EarClipping.h>

#include <cmath>

namespace Varnek {
namespace internal {
namespace {

using Point = Vector<float, 3>;

// Twice the signed area of the triangle (a, b, c), with the sign of a
// shoelace area of the same turn. In double, the differences of floats of
// like magnitude and their products are exact.
double turnOf(const Point& a, const Point& b, const Point& c) {
    const double abx = static_cast<double>(b[0]) - static_cast<double>(a[0]);
    const double aby = static_cast<double>(b[1]) - static_cast<double>(a[1]);
    const double acx = static_cast<double>(c[0]) - static_cast<double>(a[0]);
    const double acy = static_cast<double>(c[1]) - static_cast<double>(a[1]);
    return abx * acy - aby * acx;
}

bool samePosition(const Point& a, const Point& b) {
    return a[0] == b[0] && a[1] == b[1];
}

// The corner (p, e, q) of the polygon linked by next, turning with sense,
// is an ear when no other corner lies inside it or on its edges.
bool isEar(const Point* points, const std::uint32_t* next, std::uint32_t p, std::uint32_t e,
           std::uint32_t q, double sense) {
    for (std::uint32_t v = next[q]; v != p; v = next[v]) {
        const Point& point = points[v];
        // A corner where the outline touches one of these three encloses
        // nothing of the ear.
        if (samePosition(point, points[p]) || samePosition(point, points[e]) ||
            samePosition(point, points[q])) {
            continue;
        }
        if (turnOf(points[p], points[e], point) * sense >= 0.0 &&
            turnOf(points[e], points[q], point) * sense >= 0.0 &&
            turnOf(points[q], points[p], point) * sense >= 0.0) {
            return false;
        }
    }
    return true;
}

}  // namespace

void clipEars(const Point* points, std::size_t count, std::uint32_t firstIndex,
              std::uint32_t* scratch, std::vector<std::uint32_t>& indices) {
    std::size_t n = count;
    if (n > 1 && samePosition(points[n - 1], points[0])) {
        --n;
    }
    if (n < 3 || n > 0x7FFFFFFFu) {
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(points[i][0]) || !std::isfinite(points[i][1])) {
            return;
        }
    }
    // A ring of the corners, each point equal to the one before left out.
    std::uint32_t* next = scratch;
    std::uint32_t* prev = scratch + count;
    std::uint32_t last = 0;
    std::size_t corners = 1;
    for (std::uint32_t i = 1; i < n; ++i) {
        if (!samePosition(points[i], points[last])) {
            next[last] = i;
            prev[i] = last;
            last = i;
            ++corners;
        }
    }
    next[last] = 0;
    prev[0] = last;
    // The polygon's sense of turning, from its area (shoelace).
    double area = 0.0;
    std::uint32_t corner = 0;
    do {
        const Point& a = points[corner];
        const Point& b = points[next[corner]];
        area += static_cast<double>(a[0]) * static_cast<double>(b[1]) -
                static_cast<double>(b[0]) * static_cast<double>(a[1]);
        corner = next[corner];
    } while (corner != 0);
    if (corners < 3 || area == 0.0 || !std::isfinite(area)) {
        return;
    }
    const double sense = area > 0.0 ? 1.0 : -1.0;
    const auto emit = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        indices.push_back(firstIndex + a);
        indices.push_back(firstIndex + b);
        indices.push_back(firstIndex + c);
    };

    std::uint32_t ear = 0;
    std::size_t tried = 0;
    while (corners > 3) {
        const std::uint32_t p = prev[ear];
        const std::uint32_t q = next[ear];
        const double turn = turnOf(points[p], points[ear], points[q]) * sense;
        // A straight or doubled-back corner encloses nothing: it goes
        // without a triangle.
        const bool cut = turn > 0.0 && isEar(points, next, p, ear, q, sense);
        if (cut || turn == 0.0) {
            if (cut) {
                emit(p, ear, q);
            }
            next[p] = q;
            prev[q] = p;
            --corners;
            ear = p;
            tried = 0;
            continue;
        }
        ear = q;
        // Every simple polygon has an ear; one that crosses itself may not.
        if (++tried > corners) {
            return;
        }
    }
    const std::uint32_t p = prev[ear];
    const std::uint32_t q = next[ear];
    if (turnOf(points[p], points[ear], points[q]) * sense > 0.0) {
        emit(p, ear, q);
    }
}

}  // namespace internal
}  // namespace Varnek
