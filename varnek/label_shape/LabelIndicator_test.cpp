#include <varnek/label_shape/LabelIndicator.h>

#include <gtest/gtest.h>

#include <climits>

#include <varnek/label_shape/LabelShapeTesting.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

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
    EXPECT_EQ(fixed->getMinimalSizeInNominalRotationInMaskedCoordinates(), V(-0.02f, -0.01f, 0));
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

// The triangle generator, seen through a free-sized triangle of width 2 and
// height 1: only the side chooses the points, appended behind what is there.
TEST(LabelIndicatorTest, TrianglePointsDependOnlyOnTheSide) {
    const auto indicator = triangle(false, 0.0f);
    const struct {
        int r;
        float firstX, firstY;  // the third point is the first mirrored along the edge
    } rows[] = {{0, 1, -1},  {2, 1, -1},  {6, 1, 1},  {8, 1, 1},  {10, -1, 1},
                {3, -1, -1}, {5, -1, -1}, {-1, 0, 0}, {12, 0, 0}, {INT_MIN, 0, 0}};
    for (const auto& row : rows) {
        Points points{V(7.0f, 7.0f, 7.0f)};
        indicator->addPolygonPointsInClockwiseOrder(rp(row.r), {2, 2, 0}, points);
        const bool alongX = isTopOrBottomSide(rp(row.r));
        const V third(alongX ? -row.firstX : row.firstX, alongX ? row.firstY : -row.firstY, 0);
        EXPECT_EQ(points, (Points{V(7, 7, 7), V(row.firstX, row.firstY, 0), V(), third})) << row.r;
    }
}

}  // namespace
}  // namespace Varnek
