// Stand-in for the geometry library's composite curve: a chain of curves,
// each starting where the previous one ends, approximated as one polyline.
#ifndef VARNEK_SERVICES_COMPOSITECURVE_H
#define VARNEK_SERVICES_COMPOSITECURVE_H

#include <memory>
#include <utility>
#include <vector>

#include <varnek/services/Curve.h>
#include <varnek/services/Point.h>
#include <varnek/services/PolyLine.h>

namespace Varnek {

template <typename T, int Dimension>
class CompositeCurve;

template <typename T>
class VARNEK_GEOMETRY_VISIBLE CompositeCurve<T, 3> : public Curve<T, 3> {
public:
    // An empty chain; its polyline has no points.
    CompositeCurve() = default;

    // Appends curve behind the previous ones and keeps a share of it. A null
    // curve, and a curve that holds this chain (or is it), are not appended,
    // so no chain ever contains itself.
    void appendCurve(std::shared_ptr<Curve<T, 3>> curve) {
        if (curve == nullptr || holds(*curve, *this)) {
            return;
        }
        m_curves.push_back(std::move(curve));
    }

    // Appends the polylines of the curves in order; where one curve ends and
    // the next starts, the polyline merges the two points into one.
    void calcPolyLine(PolyLine<Point<T, 3>>& polyLine) const override {
        for (const auto& curve : m_curves) {
            curve->calcPolyLine(polyLine);
        }
    }

private:
    // Whether outer is inner or a chain that holds inner at any depth.
    static bool holds(const Curve<T, 3>& outer, const Curve<T, 3>& inner) {
        if (&outer == &inner) {
            return true;
        }
        const auto* chain = dynamic_cast<const CompositeCurve*>(&outer);
        if (chain == nullptr) {
            return false;
        }
        for (const auto& curve : chain->m_curves) {
            if (holds(*curve, inner)) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::shared_ptr<Curve<T, 3>>> m_curves;
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_COMPOSITECURVE_H
