// The contract every outline keeps, for every background shape the catalogue
// lists, with every indicator kind, at every reference point: labels as the
// tool draws them, a seeded sweep over sizes, scales and indicator settings,
// and input out of contract. A shape or indicator kind added to the
// catalogue is covered here without a line of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include <catalogue/LabelKinds.h>
#include <testing/LabelShapeTesting.h>
#include <varnek/label_shape/BalloonLabelBackground.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;
using VarnekCatalogue::BackgroundShapeRow;
using VarnekCatalogue::IndicatorKindRow;
using VarnekCatalogue::IndicatorSettings;

// An indicator as one written outside the library would be: it only appends,
// keeping the default in-place writer, and forwards to another indicator.
class AppendingIndicator final : public LabelIndicator {
public:
    explicit AppendingIndicator(std::shared_ptr<LabelIndicator> inner)
        : LabelIndicator(inner->getUseFixedSize(),
                         inner->getFixedIndicatorWidthInScreenHeightFraction()),
          m_inner(std::move(inner)) {}
    V getSizeInNominalRotationInMaskedCoordinates(RP r, const V& size) const override {
        return m_inner->getSizeInNominalRotationInMaskedCoordinates(r, size);
    }
    V getTriangleSizeInNominalRotationInMaskedCoordinates(RP r, const V& size) const override {
        return m_inner->getTriangleSizeInNominalRotationInMaskedCoordinates(r, size);
    }
    int getNumberOfPolygonPoints() const override { return m_inner->getNumberOfPolygonPoints(); }
    V getOffset(RP r, const V& size) const override { return m_inner->getOffset(r, size); }
    void addPolygonPointsInClockwiseOrder(RP r, const V& size, Points& points) const override {
        m_inner->addPolygonPointsInClockwiseOrder(r, size, points);
    }

private:
    std::shared_ptr<LabelIndicator> m_inner;
};

// Bit for bit, NaNs and signed zeros included.
bool sameBits(const V* a, const V* b, std::size_t count) {
    static_assert(sizeof(V) == 3 * sizeof(float), "a vector is its three floats");
    return count == 0 || std::memcmp(a, b, count * sizeof(V)) == 0;
}

bool sameBits(const Points& a, const Points& b) {
    return a.size() == b.size() && sameBits(a.data(), b.data(), a.size());
}

// Per axis the smallest and the largest value; NaN in both on an axis where
// a point is NaN.
std::pair<V, V> extentOf(const Points& points) {
    const float inf = std::numeric_limits<float>::infinity();
    std::pair<V, V> extent{{inf, inf, inf}, {-inf, -inf, -inf}};
    for (const V& point : points) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            float& low = extent.first[axis];
            float& high = extent.second[axis];
            if (std::isnan(point[axis]) || std::isnan(low)) {
                low = high = std::numeric_limits<float>::quiet_NaN();
            } else {
                low = std::min(low, point[axis]);
                high = std::max(high, point[axis]);
            }
        }
    }
    return extent;
}

bool sameValues(const V& a, const V& b) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (a[axis] != b[axis] && !(std::isnan(a[axis]) && std::isnan(b[axis]))) {
            return false;
        }
    }
    return true;
}

// How often the outline turns round, clockwise on screen (y down) counting
// positive: once for a closed outline walked once clockwise. Edges shorter
// than the rounding of the coordinates, as where one piece ends on the
// point the next starts, have no direction of their own and are left out.
double turnsOf(const Points& outline, float reach) {
    std::vector<std::pair<double, double>> edges;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const V& a = outline[i];
        const V& b = outline[(i + 1) % outline.size()];
        const double dx = double(b[0]) - a[0];
        const double dy = double(b[1]) - a[1];
        if (std::hypot(dx, dy) > 64.0 * std::numeric_limits<float>::epsilon() * reach) {
            edges.emplace_back(dx, dy);
        }
    }
    double angle = 0.0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const auto& [ax, ay] = edges[i];
        const auto& [bx, by] = edges[(i + 1) % edges.size()];
        angle += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    }
    return angle / (2.0 * std::acos(-1.0));
}

// Twice the signed area (shoelace sum) of a closed outline: with y pointing
// down, positive for a walk that is clockwise on screen.
double twiceAreaOf(const Points& outline) {
    double twiceArea = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const V& a = outline[i];
        const V& b = outline[(i + 1) % outline.size()];
        twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
    }
    return twiceArea;
}

// Twice the signed area of a triangle, turning as twiceAreaOf counts.
double twiceAreaOf(const V& a, const V& b, const V& c) {
    return (double(b[0]) - a[0]) * (double(c[1]) - a[1]) -
           (double(b[1]) - a[1]) * (double(c[0]) - a[0]);
}

// Whether (x, y) lies inside the outline: its winding number is not zero
// (an indicator's layers may run along the body's edge).
bool holds(const Points& outline, double x, double y) {
    int winding = 0;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const double xi = outline[i][0], yi = outline[i][1];
        const double xj = outline[j][0], yj = outline[j][1];
        const double side = (xi - xj) * (y - yj) - (yi - yj) * (x - xj);
        if (yj <= y && yi > y && side > 0.0) {
            ++winding;
        } else if (yj > y && yi <= y && side < 0.0) {
            --winding;
        }
    }
    return winding != 0;
}

// The first rule the outline's fill triangles break, or null: indices into
// the outline, three a triangle, each turning as the outline does with an
// area, inside it, and together as large as it.
const char* brokenTriangleRule(const Points& polygon) {
    const std::vector<std::uint32_t> triangles = LabelBackground::getPolygonTriangles(polygon);
    if (triangles.size() % 3 != 0) {
        return "fill triangles: three indices a triangle";
    }
    double twiceArea = 0.0;
    for (std::size_t t = 0; t < triangles.size(); t += 3) {
        if (triangles[t] >= polygon.size() || triangles[t + 1] >= polygon.size() ||
            triangles[t + 2] >= polygon.size()) {
            return "fill triangles: indices into the outline";
        }
        const V& a = polygon[triangles[t]];
        const V& b = polygon[triangles[t + 1]];
        const V& c = polygon[triangles[t + 2]];
        const double twice = twiceAreaOf(a, b, c);
        if (!(twice > 0.0)) {
            return "fill triangles: each with an area, turning as the outline";
        }
        if (!holds(polygon, (double(a[0]) + b[0] + c[0]) / 3.0,
                   (double(a[1]) + b[1] + c[1]) / 3.0)) {
            return "fill triangles: inside the outline";
        }
        twiceArea += twice;
    }
    // To the precision of the outline's own single-precision points.
    const double outline = twiceAreaOf(polygon);
    if (std::fabs(twiceArea - outline) > 1e-6 * outline) {
        return "fill triangles: their areas add up to the outline's";
    }
    return nullptr;
}

// The first rule of the contract the label at r breaks, or null. twin is
// the same shape with an indicator that only appends. The point count, the
// body and the agreement of every path to the outline hold for any input;
// the geometry is checked where the input is finite.
const char* brokenRule(const BackgroundShapeRow& shape, const LabelBackground& background,
                       const LabelBackground& twin, RP r, const V& size, bool finite) {
    const LabelIndicator* indicator = background.getIndicator();
    const LabelBackground::Side side = getSideOfReferencePoint(r);
    const V offset = background.getOffset(r, size);
    const Points polygon = background.getPolygon(r, size, offset);
    if (static_cast<int>(polygon.size()) !=
        background.getNumberOfPolygonPoints() -
            (side == LabelBackground::Undefined
                 ? LabelIndicator::getNumberOfPolygonPoints(indicator)
                 : 0)) {
        return "point count";
    }
    if (polygon.capacity() != polygon.size()) {
        return "one block of the outline's size";
    }
    const V body = background.getBodySizeInMaskedCoordinates(r, size);
    if (std::isnan(body[0]) != std::isnan(size[0]) || std::isnan(body[1]) != std::isnan(size[1])) {
        return "a NaN body exactly where the label size is NaN";
    }

    Points appended = pointsXY({7.0f, 8.0f});
    background.appendPolygon(r, size, offset, appended);
    if (appended.size() != polygon.size() + 1 || appended[0] != V(7.0f, 8.0f, 0.0f) ||
        !sameBits(polygon.data(), appended.data() + 1, polygon.size())) {
        return "appended outline";
    }
    V minimum;
    V maximum;
    background.getPolygonExtent(r, size, offset, minimum, maximum);
    const auto [low, high] = extentOf(polygon);
    if (!sameValues(minimum, low) || !sameValues(maximum, high)) {
        return "extent query";
    }
    Points twinAppended;
    twin.appendPolygon(r, size, offset, twinAppended);
    if (!sameBits(polygon, twin.getPolygon(r, size, offset)) || !sameBits(polygon, twinAppended)) {
        return "outline with an indicator that only appends";
    }
    if (!sameBits(indicator == nullptr ? Points() : pointsOf(*indicator, r, size),
                  background.getIndicatorPolygon(r, size))) {
        return "indicator points";
    }
    if (!finite) {
        // No fill triangles for an outline with a NaN or infinite point.
        const bool allFinite = std::all_of(polygon.begin(), polygon.end(), [](const V& p) {
            return std::isfinite(p[0]) && std::isfinite(p[1]);
        });
        return allFinite || LabelBackground::getPolygonTriangles(polygon).empty()
                   ? nullptr
                   : "no fill triangles for a point not finite";
    }

    const float reach =
        std::max({std::fabs(low[0]), std::fabs(low[1]), std::fabs(high[0]), std::fabs(high[1])});
    if (std::fabs(turnsOf(polygon, reach) - 1.0) > 1e-6 || twiceAreaOf(polygon) <= 0.0) {
        return "closed and clockwise";
    }
    if (const char* broken = brokenTriangleRule(polygon)) {
        return broken;
    }
    const float tolerance = 16.0f * std::numeric_limits<float>::epsilon() * reach;
    const auto near = [tolerance](float value, float expected) {
        return std::fabs(value - expected) <= tolerance;
    };
    const bool anchorIsVertex = std::find(polygon.begin(), polygon.end(), V()) != polygon.end();
    if (!shape.carriesIndicator) {
        // A shape that is its own indicator: its tip on the anchor, whatever
        // the reference point.
        if (!anchorIsVertex) {
            return "tip on the anchor";
        }
    } else if (side == LabelBackground::Undefined) {
        if (!near(low[0] + high[0], 0.0f) || !near(low[1] + high[1], 0.0f)) {
            return "centred on the anchor";
        }
    } else {
        // The outline reaches the anchor from the reference point's side and
        // no further, at the indicator's tip where there is one.
        const std::size_t across = isLeftOrRightSide(r) ? 0 : 1;
        const std::size_t along = 1 - across;
        const bool before = side == LabelBackground::Top || side == LabelBackground::Left;
        if (!near(before ? high[across] : low[across], 0.0f) || low[along] > tolerance ||
            high[along] < -tolerance || (indicator != nullptr && !anchorIsVertex)) {
            return "tip on the anchor";
        }
    }
    // The extent is the complete size; the balloon's outline is as high as
    // its proportion makes it, to the four digits its stored outline has.
    if (shape.shape == VarnekCatalogue::BackgroundShape::Balloon) {
        const float height = size[0] / BalloonLabelBackground::getBalloonWidthHeightRatio();
        if (std::fabs(high[0] - low[0] - size[0]) > 1e-4f * height ||
            std::fabs(high[1] - low[1] - height) > 1e-4f * height) {
            return "extent";
        }
    } else {
        const V complete = background.getCompleteSizeInMaskedCoordinates(r, size);
        if (!near(high[0] - low[0], complete[0]) || !near(high[1] - low[1], complete[1]) ||
            low[2] != 0.0f || high[2] != 0.0f) {
            return "extent";
        }
    }
    return nullptr;
}

// What a label is made with besides shape and kind.
struct Making {
    IndicatorSettings settings;
    float scale;
    V size;
};

// Checks every shape with every kind, made as each of makings says, at every
// reference point; reports the first few labels that break a rule.
void checkEveryLabel(const std::vector<Making>& makings, bool finite) {
    int failures = 0;
    for (const BackgroundShapeRow& shape : VarnekCatalogue::backgroundShapes()) {
        for (const IndicatorKindRow& kind : VarnekCatalogue::indicatorKinds()) {
            if (!shape.carriesIndicator && kind.make != nullptr) {
                continue;  // the same background as without indicator
            }
            for (const Making& making : makings) {
                const auto background =
                    VarnekCatalogue::makeBackground(shape.shape, kind.kind, making.settings);
                background->initialize(making.scale);
                std::shared_ptr<LabelIndicator> inner;
                if (shape.carriesIndicator && kind.make != nullptr) {
                    inner = kind.make(making.settings);
                    inner->initialize(making.scale);
                }
                const auto twin =
                    shape.make(inner ? std::make_shared<AppendingIndicator>(inner) : nullptr);
                twin->initialize(making.scale);
                for (const RP r : VarnekCatalogue::referencePoints()) {
                    if (const char* broken =
                            brokenRule(shape, *background, *twin, r, making.size, finite)) {
                        ADD_FAILURE()
                            << broken << ": " << shape.name << " / " << kind.name << " bar "
                            << making.settings.withBar << " fixed " << making.settings.useFixedSize
                            << ' ' << making.settings.fixedWidthInScreenHeightFraction << " scale "
                            << making.scale << " size " << ::testing::PrintToString(making.size)
                            << " at " << toString(r);
                        ASSERT_LT(++failures, 10) << "and more";
                    }
                }
            }
        }
    }
}

// Labels as the tool draws them: free-sized and at fixed widths, with and
// without the bar.
TEST(LabelOutlineContractTest, EveryShapeIndicatorAndReferencePoint) {
    const V size(40.0f, 20.0f, 0.0f);
    checkEveryLabel({{{true, false, 0.0f}, 250.0f, size},
                     {{false, false, 0.0f}, 250.0f, size},
                     {{true, true, 0.02f}, 250.0f, size},
                     {{false, true, 0.008f}, 250.0f, size},
                     {{true, true, 0.015f}, 1000.0f, {3.0f, 200.0f, 0.0f}}},
                    true);
}

// The same over a seeded sweep: label sizes from 1/8 to 1024, scales from 16
// to 4096, fixed widths from 1/256 to 1/8 of the screen height, with and
// without the bar. The values are made from the engine's bits, which the
// standard fixes, not by its distributions, which it does not: every
// compiler and standard library draws the same cases.
TEST(LabelOutlineContractTest, SeededSweepOverSizesAndScales) {
    std::mt19937 engine(20261206u);
    const auto coin = [&engine] { return (engine() & 1u) != 0; };
    // 2^e times 1.m, e in [low, high) and the 23 bits of m drawn evenly.
    const auto binades = [&engine](int low, int high) {
        const int exponent = low + static_cast<int>(engine() % static_cast<unsigned>(high - low));
        return std::ldexp(1.0f + static_cast<float>(engine() >> 9) * 0x1p-23f, exponent);
    };
    std::vector<Making> makings;
    for (int i = 0; i < 16; ++i) {
        const IndicatorSettings settings{coin(), coin(), binades(-8, -3)};
        const float scale = binades(4, 12);
        makings.push_back({settings, scale, {binades(-3, 10), binades(-3, 10), 0.0f}});
    }
    checkEveryLabel(makings, true);
}

// NaN and infinite sizes and scales and empty labels keep the point count,
// the NaN body and the agreement of every path to the outline, though the
// geometry means nothing.
TEST(LabelOutlineContractTest, NonFiniteAndEmptyInputKeepCountAndPaths) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<Making> makings;
    for (const IndicatorSettings& settings :
         {IndicatorSettings{true, true, 0.02f}, IndicatorSettings{true, false, 0.0f}}) {
        for (const float scale : {0.0f, nan, inf, -inf}) {
            makings.push_back({settings, scale, {40.0f, 20.0f, 0.0f}});
        }
        for (const V& size : {V(), V(nan, 1.0f, 0.0f), V(inf, -inf, nan), V(0.5f, 120.0f, 1.0f)}) {
            makings.push_back({settings, 250.0f, size});
        }
    }
    checkEveryLabel(makings, false);
}

}  // namespace
}  // namespace Varnek
