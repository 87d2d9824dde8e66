// Stand-in for the geometry library's polyline: the sequence of points that
// approximates a curve. Curves append to it in curve order; a point that
// lies within the polyline's tolerance of the last point is not appended
// again, so where one curve ends and the next begins the polyline holds a
// single point.
#ifndef VARNEK_SERVICES_POLYLINE_H
#define VARNEK_SERVICES_POLYLINE_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/services/Point.h>

namespace Varnek {

template <typename PointType>
class PolyLine;

template <typename T>
class PolyLine<Point<T, 3>> {
public:
    // An empty polyline. Points closer than tolerance to the last point are
    // merged into it; a negative or NaN tolerance merges nothing.
    explicit PolyLine(double tolerance) : m_tolerance(tolerance) {}

    // The tolerance given to the constructor.
    double getTolerance() const { return m_tolerance; }

    // How many points the polyline holds after merging.
    std::uint64_t numberOfPoints() const { return m_points.size(); }

    // Point index in the order appended; throws std::out_of_range for an
    // index at or past numberOfPoints().
    const Point<T, 3>& getPoint(std::size_t index) const { return m_points.at(index); }

    // Appends point unless it lies within the tolerance of the last point.
    void appendPoint(const Point<T, 3>& point) {
        if (!m_points.empty() && distance(m_points.back(), point) <= m_tolerance) {
            return;
        }
        m_points.push_back(point);
    }

private:
    static double distance(const Point<T, 3>& a, const Point<T, 3>& b) {
        return static_cast<double>(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]));
    }

    double m_tolerance;
    std::vector<Point<T, 3>> m_points;
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_POLYLINE_H
