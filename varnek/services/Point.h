// Stand-in for the geometry library's point type: a position in space with
// three components, the vertices of polylines and the control points of
// curves. A plain, trivially copyable value like Vector.
#ifndef VARNEK_SERVICES_POINT_H
#define VARNEK_SERVICES_POINT_H

#include <cstddef>

namespace Varnek {

template <typename T, int Dimension>
class Point;

template <typename T>
class Point<T, 3> {
public:
    // (0, 0, 0).
    constexpr Point() : m_components{} {}
    // (x, y, z).
    constexpr Point(T x, T y, T z) : m_components{x, y, z} {}

    // Component index (0 to 2), unchecked.
    constexpr T& operator[](std::size_t index) { return m_components[index]; }
    constexpr const T& operator[](std::size_t index) const { return m_components[index]; }

    // Exact, component by component: -0 equals +0, a NaN equals nothing.
    friend constexpr bool operator==(const Point& a, const Point& b) {
        return a.m_components[0] == b.m_components[0] && a.m_components[1] == b.m_components[1] &&
               a.m_components[2] == b.m_components[2];
    }
    friend constexpr bool operator!=(const Point& a, const Point& b) { return !(a == b); }

private:
    T m_components[3];
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_POINT_H
