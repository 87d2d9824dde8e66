#include <varnek/label_placement/internal/CalloutRings.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Varnek {
namespace internal {
namespace {

constexpr double s_pi = 3.14159265358979323846;
constexpr double s_spacingShare = 1.0;

// The point at arc length u along the rectangle of half sizes (w, h) with
// corners rounded by r, starting straight above its centre and going
// clockwise (y down).
void pointOnRoundedRect(double w, double h, double r, double u, double& x, double& y) {
    const double quarter = 0.5 * s_pi * r;
    // Top right half edge, corner, right edge, corner, bottom edge, corner,
    // left edge, corner, top left half edge.
    const double pieces[9] = {w, quarter, 2.0 * h, quarter, 2.0 * w, quarter, 2.0 * h, quarter, w};
    int piece = 0;
    while (piece < 8 && u > pieces[piece]) {
        u -= pieces[piece];
        ++piece;
    }
    // Along a corner, the sine and cosine of its angle from the rational
    // parametrisation of the quarter circle: no library function whose last
    // bit may differ between machines.
    const double q = quarter > 0.0 ? std::min(1.0, u / quarter) : 0.0;
    const double sine = 2.0 * q / (1.0 + q * q);
    const double cosine = (1.0 - q * q) / (1.0 + q * q);
    switch (piece) {
        case 0:
            x = u;
            y = -h - r;
            return;
        case 1:
            x = w + r * sine;
            y = -h - r * cosine;
            return;
        case 2:
            x = w + r;
            y = -h + u;
            return;
        case 3:
            x = w + r * cosine;
            y = h + r * sine;
            return;
        case 4:
            x = w - u;
            y = h + r;
            return;
        case 5:
            x = -w - r * sine;
            y = h + r * cosine;
            return;
        case 6:
            x = -w - r;
            y = h - u;
            return;
        case 7:
            x = -w - r * cosine;
            y = -h - r * sine;
            return;
        default:
            x = -w + u;
            y = -h - r;
            return;
    }
}

}  // namespace

CalloutRings::CalloutRings(const LabelRect& body, float distance) {
    const double width = static_cast<double>(body.right) - body.left;
    const double height = static_cast<double>(body.bottom) - body.top;
    const double reach = distance;
    const double smaller = std::min(width, height);
    const double spacing = smaller > 0.0 ? s_spacingShare * smaller : reach / 8.0;
    if (!(std::isfinite(width) && std::isfinite(height) && width >= 0.0 && height >= 0.0 &&
          reach > 0.0 && spacing > 0.0)) {
        return;
    }
    m_halfWidth = 0.5 * width;
    m_halfHeight = 0.5 * height;
    m_centreX = 0.5 * (static_cast<double>(body.left) + body.right);
    m_centreY = 0.5 * (static_cast<double>(body.top) + body.bottom);
    // Nearest first whatever the distance: a spacing apart near the anchor,
    // further apart beyond, the last at the distance.
    const double steps[s_maxRings] = {
        1.0, 2.0, 3.0, 4.0, 6.0, 8.0, std::numeric_limits<double>::infinity()};
    for (std::size_t ring = 0;
         ring < s_maxRings && (ring == 0 || spacing * steps[ring - 1] < reach); ++ring) {
        // A hair inside the distance, so that the rounding of the body's
        // place never takes it past.
        const double t = std::min(spacing * steps[ring], reach) * (1.0 - 1.0 / 4096.0);
        m_ringCount = ring + 1;
        m_distances[ring] = t;
        m_lengths[ring] = 4.0 * (m_halfWidth + m_halfHeight) + 2.0 * s_pi * t;
        m_places[ring] = static_cast<std::size_t>(
            std::min(static_cast<double>(s_maxPerRing),
                     std::max(8.0, std::round(m_lengths[ring] / spacing))));
    }
}

void CalloutRings::getShift(std::size_t ring, std::size_t k, float& dx, float& dy) const {
    double x = 0.0;
    double y = 0.0;
    pointOnRoundedRect(
        m_halfWidth, m_halfHeight, m_distances[ring],
        m_lengths[ring] * static_cast<double>(k) / static_cast<double>(m_places[ring]), x, y);
    dx = static_cast<float>(x - m_centreX);
    dy = static_cast<float>(y - m_centreY);
}

float CalloutRings::resolveDistance(float distance, const LabelRect& viewport, bool viewportValid) {
    if (!(distance > 0.0f) || !viewportValid) {
        return 0.0f;
    }
    const double width = static_cast<double>(viewport.right) - viewport.left;
    const double height = static_cast<double>(viewport.bottom) - viewport.top;
    const auto diagonal = static_cast<float>(std::sqrt(width * width + height * height));
    return std::min(distance, diagonal);
}

LabelBackground::ReferencePoint CalloutRings::sideOfBody(const LabelRect& body, float x, float y) {
    const bool left = body.right <= x;
    const bool right = body.left >= x;
    if (body.bottom <= y) {
        return left ? LabelBackground::TopLeft
                    : (right ? LabelBackground::TopRight : LabelBackground::TopCenter);
    }
    if (body.top >= y) {
        return left ? LabelBackground::BottomLeft
                    : (right ? LabelBackground::BottomRight : LabelBackground::BottomCenter);
    }
    return left ? LabelBackground::LeftCenter : LabelBackground::RightCenter;
}

void CalloutRings::findNearestPoint(const Vector<float, 3>* outline, std::uint32_t count, double x,
                                    double y, float& nearestX, float& nearestY) {
    double best = -1.0;
    nearestX = count > 0 ? outline[0][0] : 0.0f;
    nearestY = count > 0 ? outline[0][1] : 0.0f;
    for (std::uint32_t p = 0; p < count; ++p) {
        const Vector<float, 3>& a = outline[p];
        const Vector<float, 3>& b = outline[p + 1 < count ? p + 1 : 0];
        const double dx = static_cast<double>(b[0]) - a[0];
        const double dy = static_cast<double>(b[1]) - a[1];
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0.0 ? ((x - a[0]) * dx + (y - a[1]) * dy) / length2 : 0.0;
        t = std::min(1.0, std::max(0.0, t));
        const double px = a[0] + t * dx;
        const double py = a[1] + t * dy;
        const double d2 = (px - x) * (px - x) + (py - y) * (py - y);
        if (best < 0.0 || d2 < best) {
            best = d2;
            nearestX = static_cast<float>(px);
            nearestY = static_cast<float>(py);
        }
    }
}

}  // namespace internal
}  // namespace Varnek
