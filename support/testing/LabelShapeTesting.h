// Test support for the label geometry: readable failure output for vectors,
// compact point lists, an indicator's points alone, a background written
// outside the library, and float bit patterns. Used by tests only; not
// installed.
#ifndef VARNEK_TESTING_LABELSHAPETESTING_H
#define VARNEK_TESTING_LABELSHAPETESTING_H

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iomanip>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/services/Vector.h>

namespace Varnek {

// Found by GoogleTest through argument-dependent lookup, so it lives beside
// the vector.
inline void PrintTo(const Vector<float, 3>& v, std::ostream* os) {
    *os << std::setprecision(9) << '(' << v[0] << ", " << v[1] << ", " << v[2] << ')';
}

}  // namespace Varnek

namespace VarnekTesting {

using V = Varnek::Vector<float, 3>;
using Points = std::vector<V>;
using RP = Varnek::LabelBackground::ReferencePoint;

inline RP rp(int value) {
    return static_cast<RP>(value);
}

// Points from x, y pairs, each with z = 0.
inline Points pointsXY(std::initializer_list<float> xy) {
    Points points;
    for (auto it = xy.begin(); it != xy.end() && it + 1 != xy.end(); it += 2) {
        points.emplace_back(it[0], it[1], 0.0f);
    }
    return points;
}

// The points the indicator appends to an empty outline.
inline Points pointsOf(const Varnek::LabelIndicator& indicator, RP referencePoint, const V& size) {
    Points points;
    indicator.addPolygonPointsInClockwiseOrder(referencePoint, size, points);
    return points;
}

// A background written outside the library: every answer is its model's (a
// library background), while the outline is built by the base class's own
// appending path. switchTo changes the model without initialize, which breaks
// the rule that geometry changes only there; tests of that rule use it.
class ModelBackground final : public Varnek::LabelBackground {
public:
    explicit ModelBackground(std::shared_ptr<const Varnek::LabelBackground> model)
        : Varnek::LabelBackground(nullptr), m_model(std::move(model)) {}

    void switchTo(std::shared_ptr<const Varnek::LabelBackground> model) {
        m_model = std::move(model);
    }

    V getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP r) const override {
        return m_model->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r);
    }
    V getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(RP r) const override {
        return m_model->getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r);
    }
    V getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(RP r,
                                                                  const V& size) const override {
        return m_model->getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size);
    }
    Points getPolygon(RP r, const V& size, const V& offset) const override {
        return m_model->getPolygon(r, size, offset);
    }

private:
    int getNumberOfPolygonPointsWithoutIndicatorPoints() const override {
        return m_model->getNumberOfPolygonPoints();
    }
    V getBodyOffset(RP r, const V& size) const override { return m_model->getOffset(r, size); }

    std::shared_ptr<const Varnek::LabelBackground> m_model;
};

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace VarnekTesting

#endif  // VARNEK_TESTING_LABELSHAPETESTING_H
