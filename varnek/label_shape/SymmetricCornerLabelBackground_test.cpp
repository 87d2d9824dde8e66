#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <varnek/label_shape/LabelShapeTesting.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

using RP = LabelBackground::ReferencePoint;
using V = Vector<float, 3>;
using Points = std::vector<V>;
using Factory =
    std::shared_ptr<SymmetricCornerLabelBackground> (*)(std::shared_ptr<LabelIndicator>);

RP rp(int value) {
    return static_cast<RP>(value);
}

const struct {
    Factory create;
    int cornerPoints;
} s_shapes[] = {{&SymmetricCornerLabelBackground::createRoundCornered, 5},
                {&SymmetricCornerLabelBackground::createFlatCornered, 2},
                {&SymmetricCornerLabelBackground::createSimpleRectangle, 1}};

// A right-angled triangle of full width 2 and height 1 at scale factor 250.
std::shared_ptr<LabelIndicator> smallTriangle() {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.008f);
}

TEST(SymmetricCornerLabelBackgroundTest, PlainRectangleIsTheBody) {
    auto background = SymmetricCornerLabelBackground::createSimpleRectangle(nullptr);
    background->initialize(1.0f);
    EXPECT_EQ(background->getPolygon(RP::TopCenter, {10, 4, 0}, {}),
              (Points{{-5, 2, 0}, {-5, -2, 0}, {5, -2, 0}, {5, 2, 0}}));
    EXPECT_EQ(background->getNumberOfPolygonPoints(), 4);
}

TEST(SymmetricCornerLabelBackgroundTest, FlatCornersWithoutIndicator) {
    auto background = SymmetricCornerLabelBackground::createFlatCornered(nullptr);
    background->initialize(250.0f);
    EXPECT_EQ(background->getPolygon(RP::TopCenter, {40, 20, 0}, {}), (Points{{-19, 10, 0},
                                                                              {-20, 9, 0},
                                                                              {-20, -9, 0},
                                                                              {-19, -10, 0},
                                                                              {19, -10, 0},
                                                                              {20, -9, 0},
                                                                              {20, 9, 0},
                                                                              {19, 10, 0}}));
}

// The road of one label, with a triangle on the body's bottom edge.
TEST(SymmetricCornerLabelBackgroundTest, FlatCornersWithIndicator) {
    auto background = SymmetricCornerLabelBackground::createFlatCornered(smallTriangle());
    background->initialize(250.0f);
    const V size(40.0f, 20.0f, 0.0f);

    EXPECT_EQ(
        background->getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(RP::TopLeft, size),
        V(4, 2, 0));
    EXPECT_EQ(background->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP::TopLeft),
              V(2, 2, 0));
    EXPECT_EQ(
        background->getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(RP::LeftTop),
        V(2, 4, 0));
    EXPECT_EQ(background->getBodySizeInMaskedCoordinates(RP::TopLeft, size), V(40, 20, 0));
    EXPECT_EQ(background->getCompleteSizeInMaskedCoordinates(RP::TopLeft, size), V(40, 21, 0));
    const V offset = background->getOffset(RP::TopLeft, size);
    EXPECT_EQ(offset, V(-18, -11, 0));
    EXPECT_EQ(background->getNumberOfPolygonPoints(), 11);
    EXPECT_EQ(background->getPolygon(RP::TopLeft, size, offset), (Points{{1, -1, 0},
                                                                         {0, 0, 0},
                                                                         {-1, -1, 0},
                                                                         {-37, -1, 0},
                                                                         {-38, -2, 0},
                                                                         {-38, -20, 0},
                                                                         {-37, -21, 0},
                                                                         {1, -21, 0},
                                                                         {2, -20, 0},
                                                                         {2, -2, 0},
                                                                         {1, -1, 0}}));

    EXPECT_EQ(background->getBodySizeInMaskedCoordinates(RP::LeftCenter, size), V(40, 20, 0));
    EXPECT_EQ(background->getCompleteSizeInMaskedCoordinates(RP::LeftCenter, size), V(41, 20, 0));
    EXPECT_EQ(background->getOffset(RP::LeftCenter, size), V(-21, 0, 0));

    // Center: the bare body, though the count still includes the indicator.
    EXPECT_EQ(background->getPolygon(RP::Center, size, {}).size(), 8u);
}

TEST(SymmetricCornerLabelBackgroundTest, RoundCornerPointsKeepTheirBits) {
    auto background = SymmetricCornerLabelBackground::createRoundCornered(nullptr);
    background->initialize(1.0f);
    const float twoCorners = 2.0f * floatFromBits(0x3BC49BA6u);
    EXPECT_EQ(background->getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP::TopCenter),
              V(twoCorners, twoCorners, 0));
    // A minimal body about the origin puts the arc centres at the origin, so
    // the points are the table's values with signs; the first corner follows
    // Top, where x and y are exchanged.
    const Points polygon = background->getPolygon(RP::TopCenter, {}, {});
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

// Every reference point, corner shape and indicator state: the outline is
// clockwise in masked coordinates, has the stated number of points, spans the
// complete size, and has the anchor as a vertex when an indicator is drawn.
//
// With y pointing down, the shoelace sum  sum(x[i] * y[i+1] - x[i+1] * y[i])
// is positive for a walk that is clockwise on screen (it is the mirror image
// of a counter-clockwise walk in a y-up frame).
void checkOutline(const LabelBackground& background, int cornerPoints, const std::string& what) {
    const V size(40.0f, 20.0f, 0.0f);
    for (int value = -1; value <= 12; ++value) {
        const RP r = rp(value);
        const std::string context = what + " r=" + std::to_string(value);
        const V offset = background.getOffset(r, size);
        const Points polygon = background.getPolygon(r, size, offset);
        const LabelIndicator* indicator = background.getIndicator();
        const bool onSide = getSideOfReferencePoint(r) != LabelBackground::Undefined;
        const auto indicatorPoints =
            static_cast<std::size_t>(LabelIndicator::getNumberOfPolygonPoints(indicator));
        const std::size_t bodyPoints = 4 * static_cast<std::size_t>(cornerPoints);
        ASSERT_EQ(polygon.size(), bodyPoints + (onSide ? indicatorPoints : 0)) << context;
        // One allocation of the announced size.
        EXPECT_EQ(polygon.capacity(), bodyPoints + indicatorPoints) << context;

        double twiceArea = 0.0;
        V low = polygon.front();
        V high = polygon.front();
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const V& a = polygon[i];
            const V& b = polygon[(i + 1) % polygon.size()];
            twiceArea += double(a[0]) * b[1] - double(b[0]) * a[1];
            for (std::size_t axis = 0; axis < 2; ++axis) {
                low[axis] = std::min(low[axis], a[axis]);
                high[axis] = std::max(high[axis], a[axis]);
            }
        }
        EXPECT_GT(twiceArea, 0.0) << context;
        const V complete = background.getCompleteSizeInMaskedCoordinates(r, size);
        EXPECT_NEAR(high[0] - low[0], complete[0], 1e-4) << context;
        EXPECT_NEAR(high[1] - low[1], complete[1], 1e-4) << context;
        const bool tipIsVertex = std::find(polygon.begin(), polygon.end(), V()) != polygon.end();
        if (indicator != nullptr && onSide) {
            EXPECT_TRUE(tipIsVertex) << context;
            EXPECT_EQ(background.getIndicatorPolygon(r, size).size(),
                      static_cast<std::size_t>(indicator->getNumberOfPolygonPoints()))
                << context;
        }
    }
}

TEST(SymmetricCornerLabelBackgroundTest, OutlineSweepWithTriangles) {
    for (const auto& shape : s_shapes) {
        for (int state = 0; state < 3; ++state) {
            std::shared_ptr<LabelIndicator> indicator;
            if (state == 1) {
                indicator = smallTriangle();
            } else if (state == 2) {
                indicator = TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
                    false, 0.0f);
            }
            auto background = shape.create(indicator);
            background->initialize(250.0f);
            EXPECT_EQ(background->getNumberOfPolygonPoints(),
                      4 * shape.cornerPoints + (indicator ? 3 : 0));
            checkOutline(*background, shape.cornerPoints,
                         "corners=" + std::to_string(shape.cornerPoints) +
                             " state=" + std::to_string(state));
        }
    }
}

// Non-finite scale factors and sizes flow through the arithmetic: the outline
// keeps its point count and a NaN label size yields a NaN body.
TEST(SymmetricCornerLabelBackgroundTest, NonFiniteInputKeepsTheShapeOfTheResult) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float scale : {nan, inf, -inf, 0.0f}) {
        auto background = SymmetricCornerLabelBackground::createRoundCornered(smallTriangle());
        background->initialize(scale);
        for (const V& size : {V(nan, 1, 0), V(inf, -inf, nan), V(3, 4, 0)}) {
            for (const int r : {-1, 0, 7, 12}) {
                const V offset = background->getOffset(rp(r), size);
                const bool onSide = r >= 0 && r < 12;
                EXPECT_EQ(background->getPolygon(rp(r), size, offset).size(), onSide ? 23u : 20u);
                EXPECT_EQ(background->getIndicatorPolygon(rp(r), size).size(), 3u);
            }
        }
    }
    auto background = SymmetricCornerLabelBackground::createFlatCornered(nullptr);
    background->initialize(250.0f);
    EXPECT_TRUE(
        std::isnan(background->getBodySizeInMaskedCoordinates(RP::TopLeft, {nan, 1, 0})[0]));
}

}  // namespace
}  // namespace Varnek
