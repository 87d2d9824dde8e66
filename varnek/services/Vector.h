// Stand-in for the math library's fixed-size vector. The label geometry keeps
// points, sizes, offsets and masks in Vector<float, 3>; the balloon outline
// uses Vector<double, 3>. The type is a plain, trivially copyable value whose
// components are stored one after another, so tables of it are constant data.
#ifndef VARNEK_SERVICES_VECTOR_H
#define VARNEK_SERVICES_VECTOR_H

#include <cstddef>

// The application's math library exports its vector type; so does the
// stand-in, so that getZeroVector() names one object in every module.
#if defined(__GNUC__)
#define VARNEK_MATH_VISIBLE __attribute__((visibility("default")))
#else
#define VARNEK_MATH_VISIBLE
#endif

namespace Varnek {

template <typename T, int Dimension>
class Vector;

template <typename T>
class VARNEK_MATH_VISIBLE Vector<T, 3> {
public:
    // (0, 0, 0).
    constexpr Vector() : m_components{} {}
    // (x, y, z).
    constexpr Vector(T x, T y, T z) : m_components{x, y, z} {}

    // A constant (0, 0, 0) that lives as long as the program. Visible even
    // where inline functions are hidden, so that every module shares it.
    VARNEK_MATH_VISIBLE static const Vector& getZeroVector() {
        static constexpr Vector s_zero{};
        return s_zero;
    }

    // Component index (0 to 2), unchecked.
    constexpr T& operator[](std::size_t index) { return m_components[index]; }
    constexpr const T& operator[](std::size_t index) const { return m_components[index]; }

    // Component by component.
    constexpr Vector& operator+=(const Vector& other) {
        m_components[0] += other.m_components[0];
        m_components[1] += other.m_components[1];
        m_components[2] += other.m_components[2];
        return *this;
    }
    constexpr Vector& operator-=(const Vector& other) {
        m_components[0] -= other.m_components[0];
        m_components[1] -= other.m_components[1];
        m_components[2] -= other.m_components[2];
        return *this;
    }

    // Exact, component by component: -0 equals +0, a NaN equals nothing.
    friend constexpr bool operator==(const Vector& a, const Vector& b) {
        return a.m_components[0] == b.m_components[0] && a.m_components[1] == b.m_components[1] &&
               a.m_components[2] == b.m_components[2];
    }
    friend constexpr bool operator!=(const Vector& a, const Vector& b) { return !(a == b); }

private:
    T m_components[3];
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_VECTOR_H
