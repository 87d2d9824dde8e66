#include <varnek/label_shape/SymmetricCornerLabelBackground.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include <testing/LabelShapeTesting.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

using Background = SymmetricCornerLabelBackground;

// A right-angled triangle of full width 2 and height 1 at scale factor 250.
std::shared_ptr<LabelIndicator> smallTriangle() {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.008f);
}

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

}  // namespace
}  // namespace Varnek
