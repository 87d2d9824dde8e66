// Stand-in for the geometry library's curve: the abstract base of every
// curve, which can approximate itself by a polyline. Composite curves hold
// their pieces as shared curves of this type.
#ifndef VARNEK_SERVICES_CURVE_H
#define VARNEK_SERVICES_CURVE_H

#include <varnek/services/Point.h>
#include <varnek/services/PolyLine.h>

// The application's geometry library exports its polymorphic types; so does
// the stand-in, so that a curve has one vtable and type in every module.
#if defined(__GNUC__)
#define VARNEK_GEOMETRY_VISIBLE __attribute__((visibility("default")))
#else
#define VARNEK_GEOMETRY_VISIBLE
#endif

namespace Varnek {

template <typename T, int Dimension>
class Curve;

template <typename T>
class VARNEK_GEOMETRY_VISIBLE Curve<T, 3> {
public:
    virtual ~Curve() = default;

    // Appends points along the curve, from its start to its end, to
    // polyLine, behind what it already holds.
    virtual void calcPolyLine(PolyLine<Point<T, 3>>& polyLine) const = 0;

protected:
    // Made and copied only as part of a concrete curve.
    Curve() = default;
    Curve(const Curve&) = default;
    Curve& operator=(const Curve&) = default;
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_CURVE_H
