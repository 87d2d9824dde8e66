#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

#include <varnek/label_shape/LabelShapeTesting.h>
#include <varnek/label_shape/LayeredLabelIndicator.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

using Background = SymmetricCornerLabelBackground;

// A right-angled triangle of full width 2 and height 1 at scale factor 250.
std::shared_ptr<LabelIndicator> smallTriangle() {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.008f);
}

// An indicator as one written outside the library would be: it only appends,
// keeping the default in-place writer, and forwards to another indicator.
class AppendingIndicator final : public LabelIndicator {
public:
    explicit AppendingIndicator(std::shared_ptr<LabelIndicator> inner)
        : LabelIndicator(false, 0.0f), m_inner(std::move(inner)) {}
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

// The plain rectangle has one point per corner: the bare body itself.
TEST(SymmetricCornerLabelBackgroundTest, PlainRectangleIsTheBody) {
    auto plain = Background::createSimpleRectangle(nullptr);
    plain->initialize(1.0f);
    EXPECT_EQ(plain->getPolygon(LabelBackground::TopCenter, {10, 4, 0}, {}),
              pointsXY({-5, 2, -5, -2, 5, -2, 5, 2}));
}

// One label worked through, with a triangle on the body's bottom edge.
TEST(SymmetricCornerLabelBackgroundTest, FlatCornersWithIndicator) {
    auto background = Background::createFlatCornered(smallTriangle());
    background->initialize(250.0f);
    const V size(40.0f, 20.0f, 0.0f);
    const RP r = LabelBackground::TopLeft;
    EXPECT_EQ(background->getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size),
              V(4, 2, 0));
    EXPECT_EQ(background->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r), V(2, 2, 0));
    EXPECT_EQ(background->getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(rp(6)),
              V(2, 4, 0));
    EXPECT_EQ(background->getBodySizeInMaskedCoordinates(r, size), V(40, 20, 0));
    EXPECT_EQ(background->getCompleteSizeInMaskedCoordinates(r, size), V(40, 21, 0));
    const V offset = background->getOffset(r, size);
    EXPECT_EQ(offset, V(-18, -11, 0));
    EXPECT_EQ(background->getNumberOfPolygonPoints(), 11);
    EXPECT_EQ(background->getPolygon(r, size, offset),
              pointsXY({1,   -1,  0,   0, -1,  -1, -37, -1, -38, -2, -38,
                        -20, -37, -21, 1, -21, 2,  -20, 2,  -2,  1,  -1}));

    const RP left = LabelBackground::LeftCenter;
    EXPECT_EQ(background->getBodySizeInMaskedCoordinates(left, size), V(40, 20, 0));
    EXPECT_EQ(background->getCompleteSizeInMaskedCoordinates(left, size), V(41, 20, 0));
    EXPECT_EQ(background->getOffset(left, size), V(-21, 0, 0));
    // Center: the indicator's points lie on the anchor.
    EXPECT_EQ(background->getIndicatorPolygon(LabelBackground::Center, size), Points(3));
}

TEST(SymmetricCornerLabelBackgroundTest, RoundCornerPointsKeepTheirBits) {
    auto background = Background::createRoundCornered(nullptr);
    background->initialize(1.0f);
    const float twoCorners = 2.0f * floatFromBits(0x3BC49BA6u);
    EXPECT_EQ(background->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP(1)),
              V(twoCorners, twoCorners, 0));
    // A minimal body about the origin puts the arc centres at the origin, so
    // the points are the table's values with signs; the first corner follows
    // Top, where x and y are exchanged.
    const Points polygon = background->getPolygon(LabelBackground::TopCenter, {}, {});
    ASSERT_EQ(polygon.size(), 20u);
    const std::uint32_t table[5][2] = {{0x3BC49BA6u, 0u},
                                       {0x3BB5A461u, 0x3B167A2Eu},
                                       {0x3B8B05D9u, 0x3B8B05D9u},
                                       {0x3B167A2Eu, 0x3BB5A461u},
                                       {0u, 0x3BC49BA6u}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(bitsOf(std::fabs(polygon[i][1])), table[i][0]) << i;
        EXPECT_EQ(bitsOf(std::fabs(polygon[i][0])), table[i][1]) << i;
    }
}

// For every reference point (and one beyond), corner shape and indicator:
// the outline has 4 x corner points plus the indicator's points when the
// reference point is on a side, comes from one allocation of its own size,
// runs clockwise, spans the complete size, has the anchor as a vertex when it
// carries an indicator, and is the same when the indicator can only append.
TEST(SymmetricCornerLabelBackgroundTest, OutlineSweep) {
    std::vector<std::shared_ptr<LabelIndicator>> indicators = {
        nullptr, smallTriangle(),
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(false, 0.0f)};
    for (const bool bar : {false, true}) {
        for (const auto layer : {LayeredLabelIndicator::Lower, LayeredLabelIndicator::Middle,
                                 LayeredLabelIndicator::Upper}) {
            for (const bool fixed : {false, true}) {
                indicators.push_back(
                    LayeredLabelIndicator::createLayeredLabelIndicator(bar, layer, fixed, 0.02f));
            }
        }
    }
    const struct {
        std::size_t cornerPoints;
        std::shared_ptr<Background> (*create)(std::shared_ptr<LabelIndicator>);
    } shapes[] = {{5, &Background::createRoundCornered},
                  {2, &Background::createFlatCornered},
                  {1, &Background::createSimpleRectangle}};
    const V size(40.0f, 20.0f, 0.0f);
    for (const auto& shape : shapes) {
        for (std::size_t i = 0; i < indicators.size(); ++i) {
            auto background = shape.create(indicators[i]);
            background->initialize(250.0f);
            auto appending = shape.create(
                indicators[i] ? std::make_shared<AppendingIndicator>(indicators[i]) : nullptr);
            appending->initialize(250.0f);
            const auto indicatorPoints = static_cast<std::size_t>(
                LabelIndicator::getNumberOfPolygonPoints(indicators[i].get()));
            const std::size_t bodyPoints = 4 * shape.cornerPoints;
            for (int value = -1; value <= 12; ++value) {
                SCOPED_TRACE(::testing::Message() << "corners=" << shape.cornerPoints
                                                  << " indicator=" << i << " r=" << value);
                const bool onSide = value >= 0 && value < 12;
                const Points polygon =
                    background->getPolygon(rp(value), size, background->getOffset(rp(value), size));
                ASSERT_EQ(polygon.size(), bodyPoints + (onSide ? indicatorPoints : 0));
                EXPECT_EQ(polygon.capacity(), polygon.size());
                EXPECT_EQ(
                    appending->getPolygon(rp(value), size, background->getOffset(rp(value), size)),
                    polygon);
                const OutlineMeasures measures = measure(polygon);
                EXPECT_GT(measures.twiceArea, 0.0);
                const V complete = background->getCompleteSizeInMaskedCoordinates(rp(value), size);
                EXPECT_NEAR(measures.extent[0], complete[0], 1e-4);
                EXPECT_NEAR(measures.extent[1], complete[1], 1e-4);
                if (indicators[i] && onSide) {
                    EXPECT_NE(std::find(polygon.begin(), polygon.end(), V()), polygon.end());
                    const Points indicatorPolygon =
                        background->getIndicatorPolygon(rp(value), size);
                    EXPECT_EQ(indicatorPolygon, pointsOf(*indicators[i], rp(value), size));
                    EXPECT_EQ(appending->getIndicatorPolygon(rp(value), size), indicatorPolygon);
                }
            }
        }
    }
}

// Non-finite scale factors and sizes flow through the arithmetic: the outline
// keeps its point count; a NaN label size gives a NaN body, while a NaN
// minimum (from a NaN scale factor) yields to the label size.
TEST(SymmetricCornerLabelBackgroundTest, NonFiniteInputKeepsTheShapeOfTheResult) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float scale : {nan, inf, -inf}) {
        auto background = Background::createRoundCornered(smallTriangle());
        background->initialize(scale);
        for (const V& size : {V(nan, 1, 0), V(inf, -inf, nan), V(3, 4, 0)}) {
            for (const int r : {-1, 0, 7, 12}) {
                const V offset = background->getOffset(rp(r), size);
                const bool onSide = r >= 0 && r < 12;
                EXPECT_EQ(background->getPolygon(rp(r), size, offset).size(), onSide ? 23u : 20u);
                const float bodyWidth = background->getBodySizeInMaskedCoordinates(rp(r), size)[0];
                EXPECT_EQ(std::isnan(bodyWidth), std::isnan(size[0]));
            }
        }
    }
}

}  // namespace
}  // namespace Varnek
