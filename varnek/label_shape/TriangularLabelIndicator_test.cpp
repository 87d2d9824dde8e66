#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <gtest/gtest.h>

#include <climits>

#include <varnek/label_shape/LabelShapeTesting.h>

namespace Varnek {
namespace {

using RP = LabelBackground::ReferencePoint;
using V = Vector<float, 3>;
using Points = std::vector<V>;

RP rp(int value) {
    return static_cast<RP>(value);
}

Points pointsOf(const LabelIndicator& indicator, RP r, const V& size) {
    Points points;
    indicator.addPolygonPointsInClockwiseOrder(r, size, points);
    return points;
}

TEST(TriangularLabelIndicatorTest, AcuteAngledFixedWidthExample) {
    auto indicator = TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
        true, TriangularLabelIndicator::s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction);
    indicator->initialize(100.0f);
    const V size(40.0f, 20.0f, 0.0f);
    for (int r = -1; r < 12; ++r) {
        EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), size),
                  V(1.5f, 1.0f, 0.0f))
            << r;
    }
    EXPECT_EQ(indicator->getOffset(RP::TopLeft, size), V(0.75f, -1.0f, 0.0f));
    EXPECT_EQ(pointsOf(*indicator, RP::TopLeft, size),
              (Points{{0.75f, -1.0f, 0.0f}, {}, {-0.75f, -1.0f, 0.0f}}));

    // The stored ratio is 2/3 rounded to single precision.
    auto free = TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(false, 0.0f);
    EXPECT_EQ(
        bitsOf(free->getSizeInNominalRotationInMaskedCoordinates(RP::TopCenter, {1, 0, 0})[1]),
        0x3F2AAAABu);
}

TEST(TriangularLabelIndicatorTest, RightAngledFreeSizeFollowsTheEdge) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(false, 0.02f);
    const V size(10.0f, 4.0f, 0.0f);
    EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(RP::BottomCenter, size),
              V(10.0f, 5.0f, 0.0f));
    EXPECT_EQ(indicator->getOffset(RP::BottomCenter, size), V(0.0f, 5.0f, 0.0f));
    const V right = indicator->getSizeInNominalRotationInMaskedCoordinates(RP::RightCenter, size);
    EXPECT_EQ(right, V(4.0f, 2.0f, 0.0f));
    EXPECT_EQ(indicator->getSizeRotatedToSide(RP::RightCenter, right), V(2.0f, 4.0f, 0.0f));
    EXPECT_EQ(indicator->getOffset(RP::RightCenter, size), V(2.0f, 0.0f, 0.0f));
    // Center and out-of-range values: no width, no offset, points at the origin.
    for (const int r : {-1, 12, INT_MIN}) {
        EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), size), V()) << r;
        EXPECT_EQ(indicator->getOffset(rp(r), size), V()) << r;
        EXPECT_EQ(pointsOf(*indicator, rp(r), size), Points(3)) << r;
    }
}

// The label's reference point meets the base start, the base's middle or the
// base end of the triangle, as its place on the edge says.
TEST(TriangularLabelIndicatorTest, OffsetMeetsTheTriangleBase) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    indicator->initialize(100.0f);
    const V size(30.0f, 10.0f, 0.0f);
    const V offsets[13] = {{0, 0, 0},  {1, -1, 0},  {0, -1, 0}, {-1, -1, 0}, {-1, 1, 0},
                           {-1, 0, 0}, {-1, -1, 0}, {1, 1, 0},  {1, 0, 0},   {1, -1, 0},
                           {1, 1, 0},  {0, 1, 0},   {-1, 1, 0}};
    for (int r = -1; r < 12; ++r) {
        const V offset = indicator->getOffset(rp(r), size);
        EXPECT_EQ(offset, offsets[r + 1]) << r;
        EXPECT_EQ(indicator->getTriangleSizeInNominalRotationInMaskedCoordinates(rp(r), size),
                  V(2.0f, 1.0f, 0.0f));
        const Points points = pointsOf(*indicator, rp(r), size);
        ASSERT_EQ(points.size(), 3u);
        EXPECT_EQ(points[1], V());
        if (isBottomAlignedRotationSymmetric(rp(r))) {
            EXPECT_EQ(offset, points[0]) << r;
        } else if (isTopAlignedRotationSymmetric(rp(r))) {
            EXPECT_EQ(offset, points[2]) << r;
        } else if (r != -1) {
            EXPECT_EQ(offset[0] + offset[0], points[0][0] + points[2][0]) << r;
            EXPECT_EQ(offset[1] + offset[1], points[0][1] + points[2][1]) << r;
        }
    }
    EXPECT_EQ(pointsOf(*indicator, RP::LeftBottom, size),
              (Points{{-1.0f, -1.0f, 0.0f}, {}, {-1.0f, 1.0f, 0.0f}}));
    EXPECT_EQ(indicator->getNumberOfPolygonPoints(), 3);
}

TEST(TriangularLabelIndicatorTest, UninitialisedFixedSizeIsNegative) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(RP::TopLeft, {5, 5, 0}),
              V(-0.02f, -0.01f, 0.0f));
    EXPECT_EQ(indicator->getMinimalSizeInNominalRotationInMaskedCoordinates(),
              V(-0.02f, -0.01f, 0.0f));
}

}  // namespace
}  // namespace Varnek
