// The contract every outline keeps, checked for every background shape the
// catalogue lists, with every indicator kind, at every reference point: a
// fixed set of labels and then a seeded sweep over sizes, scales and
// indicator settings. A shape or indicator kind added to the catalogue is
// covered here without a line of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <catalogue/LabelKinds.h>
#include <testing/LabelShapeTesting.h>
#include <varnek/label_shape/BalloonLabelBackground.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;
using VarnekCatalogue::BackgroundShape;
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

// A background of a catalogue row and its twin, the same shape with an
// indicator that can only append, both initialized.
struct Backgrounds {
    const BackgroundShapeRow& shape;
    std::shared_ptr<LabelBackground> background;
    std::shared_ptr<LabelBackground> twin;

    Backgrounds(const BackgroundShapeRow& shapeRow, const IndicatorKindRow& kind,
                const IndicatorSettings& settings, float scale)
        : shape(shapeRow),
          background(VarnekCatalogue::makeBackground(shapeRow.shape, kind.kind, settings)) {
        background->initialize(scale);
        std::shared_ptr<LabelIndicator> inner;
        if (shapeRow.carriesIndicator && kind.make != nullptr) {
            inner = kind.make(settings);
            inner->initialize(scale);
        }
        twin = shape.make(inner ? std::make_shared<AppendingIndicator>(inner) : nullptr);
        twin->initialize(scale);
    }
};

bool sameBits(float a, float b) {
    return bitsOf(a) == bitsOf(b);
}

bool sameBits(const V& a, const V& b) {
    return sameBits(a[0], b[0]) && sameBits(a[1], b[1]) && sameBits(a[2], b[2]);
}

// The points from first on equal expected bit for bit.
bool sameBits(const Points& expected, const Points& points, std::size_t first = 0) {
    if (points.size() != first + expected.size()) {
        return false;
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (!sameBits(expected[i], points[first + i])) {
            return false;
        }
    }
    return true;
}

// The extent as getPolygonExtent promises it: per axis the smallest and the
// largest value, NaN on an axis where a point is NaN.
std::pair<V, V> extentOf(const Points& points) {
    const float inf = std::numeric_limits<float>::infinity();
    V low(inf, inf, inf);
    V high(-inf, -inf, -inf);
    for (const V& point : points) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (std::isnan(point[axis]) || std::isnan(low[axis])) {
                low[axis] = high[axis] = std::numeric_limits<float>::quiet_NaN();
            } else {
                low[axis] = std::min(low[axis], point[axis]);
                high[axis] = std::max(high[axis], point[axis]);
            }
        }
    }
    return {low, high};
}

bool sameValue(const V& a, const V& b) {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (std::isnan(a[axis]) != std::isnan(b[axis]) ||
            (!std::isnan(a[axis]) && !sameBits(a[axis], b[axis]))) {
            return false;
        }
    }
    return true;
}

// How often the outline turns round, counting clockwise on screen (y down)
// as positive, and twice its area (positive clockwise): a closed outline
// walked once clockwise turns once. Edges shorter than the rounding of the
// coordinates have no direction of their own and are left out, as where a
// piece ends on the point the next one starts.
struct Walk {
    double turns = 0.0;
    double twiceArea = 0.0;
};

Walk walkOf(const Points& outline, float reach) {
    const double shortest = 64.0 * std::numeric_limits<float>::epsilon() * reach;
    Walk walk;
    double firstX = 0.0;
    double firstY = 0.0;
    double lastX = 0.0;
    double lastY = 0.0;
    bool first = true;
    double angle = 0.0;
    const auto turn = [&angle](double ax, double ay, double bx, double by) {
        angle += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    };
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const V& a = outline[i];
        const V& b = outline[(i + 1) % outline.size()];
        walk.twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
        const double dx = double(b[0]) - a[0];
        const double dy = double(b[1]) - a[1];
        if (std::hypot(dx, dy) <= shortest) {
            continue;
        }
        if (first) {
            firstX = dx;
            firstY = dy;
            first = false;
        } else {
            turn(lastX, lastY, dx, dy);
        }
        lastX = dx;
        lastY = dy;
    }
    turn(lastX, lastY, firstX, firstY);
    walk.turns = angle / (2.0 * std::acos(-1.0));
    return walk;
}

bool near(float value, float expected, float tolerance) {
    return std::fabs(value - expected) <= tolerance;
}

// The first rule of the contract that the label at r breaks, or null. The
// point count and the agreement of every path to the outline hold for any
// input; the geometry is checked only where the input is finite.
const char* brokenRule(const Backgrounds& b, RP r, const V& size, bool finite) {
    const LabelBackground& background = *b.background;
    const LabelIndicator* indicator = background.getIndicator();
    const LabelBackground::Side side = getSideOfReferencePoint(r);
    const V offset = background.getOffset(r, size);
    const Points polygon = background.getPolygon(r, size, offset);
    const int indicatorPoints = LabelIndicator::getNumberOfPolygonPoints(indicator);
    if (static_cast<int>(polygon.size()) !=
        background.getNumberOfPolygonPoints() -
            (side == LabelBackground::Undefined ? indicatorPoints : 0)) {
        return "point count";
    }
    if (polygon.capacity() != polygon.size()) {
        return "one block of the outline's size";
    }

    // The in-place and the appending paths.
    Points appended = pointsXY({7.0f, 8.0f});
    background.appendPolygon(r, size, offset, appended);
    if (!sameBits(polygon, appended, 1) || !sameBits(appended[0], V(7.0f, 8.0f, 0.0f))) {
        return "appended outline";
    }
    V minimum;
    V maximum;
    background.getPolygonExtent(r, size, offset, minimum, maximum);
    const auto [low, high] = extentOf(polygon);
    if (!sameValue(minimum, low) || !sameValue(maximum, high)) {
        return "extent query";
    }
    Points twinAppended;
    b.twin->appendPolygon(r, size, offset, twinAppended);
    if (!sameBits(polygon, b.twin->getPolygon(r, size, offset)) ||
        !sameBits(polygon, twinAppended)) {
        return "outline with an appending indicator";
    }
    const Points indicatorPolygon = background.getIndicatorPolygon(r, size);
    if (indicator != nullptr) {
        Points written(static_cast<std::size_t>(indicatorPoints));
        if (!sameBits(pointsOf(*indicator, r, size), indicatorPolygon) ||
            !sameBits(indicatorPolygon, b.twin->getIndicatorPolygon(r, size)) ||
            (indicator->writePolygonPointsInClockwiseOrder(r, size, written.data()) &&
             !sameBits(indicatorPolygon, written))) {
            return "indicator points";
        }
    } else if (!indicatorPolygon.empty()) {
        return "no indicator points without an indicator";
    }
    if (!finite) {
        return nullptr;
    }

    // The geometry.
    const float reach =
        std::max({std::fabs(low[0]), std::fabs(low[1]), std::fabs(high[0]), std::fabs(high[1])});
    const Walk walk = walkOf(polygon, reach);
    if (std::fabs(walk.turns - 1.0) > 1e-6 || walk.twiceArea <= 0.0) {
        return "closed and clockwise";
    }
    const float tolerance = 16.0f * std::numeric_limits<float>::epsilon() * reach;
    const bool anchorIsVertex = std::find(polygon.begin(), polygon.end(), V()) != polygon.end();
    if (!b.shape.carriesIndicator) {
        // A shape that is its own indicator has its tip on the anchor,
        // whatever the reference point.
        if (!anchorIsVertex) {
            return "tip on the anchor";
        }
    } else if (side == LabelBackground::Undefined) {
        if (!near(low[0] + high[0], 0.0f, tolerance) || !near(low[1] + high[1], 0.0f, tolerance)) {
            return "centred on the anchor";
        }
    } else {
        // The outline reaches the anchor from the reference point's side and
        // no further, at the indicator's tip where there is one.
        const std::size_t across = isLeftOrRightSide(r) ? 0 : 1;
        const std::size_t along = 1 - across;
        const float facing = side == LabelBackground::Top || side == LabelBackground::Left
                                 ? high[across]
                                 : low[across];
        if (!near(facing, 0.0f, tolerance) || low[along] > tolerance || high[along] < -tolerance ||
            (indicator != nullptr && !anchorIsVertex)) {
            return "tip on the anchor";
        }
    }
    // The extent is the complete size; the balloon's outline is as high as
    // its proportion makes it, to the four digits its stored outline has.
    V expected = background.getCompleteSizeInMaskedCoordinates(r, size);
    float extentTolerance = tolerance;
    if (b.shape.shape == BackgroundShape::Balloon) {
        expected = V(size[0], size[0] / BalloonLabelBackground::getBalloonWidthHeightRatio(), 0.0f);
        extentTolerance = 1e-4f * expected[1];
    }
    if (!near(high[0] - low[0], expected[0], extentTolerance) ||
        !near(high[1] - low[1], expected[1], extentTolerance) || low[2] != 0.0f ||
        high[2] != 0.0f) {
        return "extent";
    }
    return nullptr;
}

// Draws from a fixed sequence that every standard library repeats: the
// engine's output is defined by the standard, its distributions are not,
// so the values are made here from the engine's bits.
class Draws {
public:
    explicit Draws(std::uint32_t seed) : m_engine(seed) {}

    bool coin() { return (m_engine() & 1u) != 0; }

    // 2^e times 1.m, the exponent e in [low, high) and the 23 bits of m
    // drawn evenly: each binade as likely as the next.
    float binades(int low, int high) {
        const auto binadeCount = static_cast<std::uint32_t>(high - low);
        const int exponent = low + static_cast<int>(m_engine() % binadeCount);
        const float mantissa = 1.0f + static_cast<float>(m_engine() >> 9) * 0x1p-23f;
        return std::ldexp(mantissa, exponent);
    }

private:
    std::mt19937 m_engine;
};

// What a label is made with besides shape and kind.
struct Making {
    IndicatorSettings settings;
    float scale;
    V size;
};

std::string describe(const BackgroundShapeRow& shape, const IndicatorKindRow& kind,
                     const Making& making, RP r) {
    std::ostringstream text;
    text << std::setprecision(9) << shape.name << " / " << kind.name;
    if (kind.hasBar) {
        text << (making.settings.withBar ? " with bar" : " without bar");
    }
    if (making.settings.useFixedSize) {
        text << " fixed " << making.settings.fixedWidthInScreenHeightFraction;
    }
    text << " scale " << making.scale << " size " << making.size[0] << ", " << making.size[1]
         << " at " << toString(r);
    return text.str();
}

// Checks every shape with every kind, made as each of makings says, at
// every reference point; reports the first few labels that break a rule.
void checkEveryLabel(const std::vector<Making>& makings, bool finite) {
    int failures = 0;
    for (const BackgroundShapeRow& shape : VarnekCatalogue::backgroundShapes()) {
        for (const IndicatorKindRow& kind : VarnekCatalogue::indicatorKinds()) {
            if (!shape.carriesIndicator && kind.make != nullptr) {
                continue;  // the same background as without indicator
            }
            for (const Making& making : makings) {
                const Backgrounds backgrounds(shape, kind, making.settings, making.scale);
                for (const RP r : VarnekCatalogue::referencePoints()) {
                    if (const char* broken = brokenRule(backgrounds, r, making.size, finite)) {
                        ADD_FAILURE() << broken << ": " << describe(shape, kind, making, r);
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

// The same rules over a seeded sweep of label sizes from 1/8 to 1024,
// scales from 16 to 4096 and fixed widths from 1/256 to 1/8 of the screen
// height, with and without the bar: the same cases with every compiler and
// standard library.
TEST(LabelOutlineContractTest, SeededSweepOverSizesAndScales) {
    Draws draws(20261206u);
    std::vector<Making> makings;
    for (int i = 0; i < 16; ++i) {
        Making making;
        making.settings.withBar = draws.coin();
        making.settings.useFixedSize = draws.coin();
        making.settings.fixedWidthInScreenHeightFraction = draws.binades(-8, -3);
        making.scale = draws.binades(4, 12);
        making.size = V(draws.binades(-3, 10), draws.binades(-3, 10), 0.0f);
        makings.push_back(making);
    }
    checkEveryLabel(makings, true);
}

// Input out of contract, NaN and infinite sizes and scales and empty
// labels, keeps the point count and the agreement of every path to the
// outline, though the geometry means nothing.
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
