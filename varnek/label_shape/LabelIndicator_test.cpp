#include <varnek/label_shape/LabelIndicator.h>

#include <gtest/gtest.h>

#include <testing/LabelShapeTesting.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

// A right-angled triangle: half as high as its full width.
std::unique_ptr<TriangularLabelIndicator> triangle(bool fixed, float width) {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(fixed, width);
}

TEST(LabelIndicatorTest, FixedWidthIsKeptOnlyWhenUsedAndScaleWaitsForInitialize) {
    const auto free = triangle(false, 0.02f);
    EXPECT_FALSE(free->getUseFixedSize());
    EXPECT_EQ(free->getFixedIndicatorWidthInScreenHeightFraction(), -1.0f);
    EXPECT_EQ(free->getMinimalSizeInNominalRotationInMaskedCoordinates(), V());

    const auto fixed = triangle(true, 0.02f);
    EXPECT_EQ(fixed->getFixedIndicatorWidthInScreenHeightFraction(), 0.02f);
    EXPECT_EQ(fixed->getScreenHeightFractionToMaskedSceneScaleFactor(), -1.0f);
    fixed->initialize(50.0f);
    fixed->initialize(100.0f);
    EXPECT_EQ(fixed->getMinimalSizeInNominalRotationInMaskedCoordinates(), V(2.0f, 1.0f, 0.0f));
}

TEST(LabelIndicatorTest, RotationToSideAndAbsentIndicator) {
    const auto indicator = triangle(false, 0.0f);
    const V v(3.0f, 5.0f, 7.0f);
    EXPECT_EQ(indicator->getSizeRotatedToSide(LabelBackground::LeftTop, v), V(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(indicator->getSizeRotatedToSide(LabelBackground::BottomCenter, v), v);
    EXPECT_EQ(indicator->getSizeRotatedToSide(LabelBackground::Center, v), V());
    EXPECT_EQ(indicator->getSizeRotatedToSide(rp(12), v), V());

    const LabelIndicator* none = nullptr;
    const RP r = LabelBackground::TopLeft;
    EXPECT_EQ(LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(r, none, v), V());
    EXPECT_EQ(LabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(r, none, v), V());
    EXPECT_EQ(LabelIndicator::getOffset(r, none, v), V());
    EXPECT_EQ(LabelIndicator::getSizeRotatedToSide(r, none, v), V());
    EXPECT_EQ(LabelIndicator::getNumberOfPolygonPoints(none), 0);
    EXPECT_EQ(LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(none), V());
}

}  // namespace
}  // namespace Varnek
