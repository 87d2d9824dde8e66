#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <gtest/gtest.h>

#include <climits>

#include <varnek/label_shape/LabelShapeTesting.h>

namespace Varnek {
namespace {

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
                  V(1.5f, 1, 0));
    }
    EXPECT_EQ(indicator->getOffset(LabelBackground::TopLeft, size), V(0.75f, -1.0f, 0.0f));
    EXPECT_EQ(pointsOf(*indicator, LabelBackground::TopLeft, size),
              pointsXY({0.75f, -1, 0, 0, -0.75f, -1}));
    // The stored ratio is 2/3 rounded to single precision.
    auto free = TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(false, 0.0f);
    EXPECT_EQ(
        bitsOf(free->getTriangleSizeInNominalRotationInMaskedCoordinates(rp(1), {1, 0, 0})[1]),
        0x3F2AAAABu);
}

TEST(TriangularLabelIndicatorTest, RightAngledFreeSizeFollowsTheEdge) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(false, 0.02f);
    const V size(10.0f, 4.0f, 0.0f);
    const RP bottom = LabelBackground::BottomCenter;
    const RP right = LabelBackground::RightCenter;
    EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(bottom, size), V(10, 5, 0));
    EXPECT_EQ(indicator->getOffset(bottom, size), V(0.0f, 5.0f, 0.0f));
    EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(right, size), V(4, 2, 0));
    EXPECT_EQ(indicator->getOffset(right, size), V(2.0f, 0.0f, 0.0f));
    // Center and out-of-range values: no width, no offset, points at the origin.
    for (const int r : {-1, 12, INT_MIN}) {
        EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), size), V()) << r;
        EXPECT_EQ(indicator->getOffset(rp(r), size), V()) << r;
        EXPECT_EQ(pointsOf(*indicator, rp(r), size), Points(3)) << r;
    }
}

// The label's reference point meets the base start or end of the triangle, or
// the base's middle, as its place on the edge says.
TEST(TriangularLabelIndicatorTest, OffsetMeetsTheTriangleBase) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    indicator->initialize(100.0f);
    const V size(30.0f, 10.0f, 0.0f);
    const Points offsets = pointsXY(
        {0, 0, 1, -1, 0, -1, -1, -1, -1, 1, -1, 0, -1, -1, 1, 1, 1, 0, 1, -1, 1, 1, 0, 1, -1, 1});
    for (int r = -1; r < 12; ++r) {
        const V offset = indicator->getOffset(rp(r), size);
        EXPECT_EQ(offset, offsets[static_cast<std::size_t>(r + 1)]) << r;
        const Points points = pointsOf(*indicator, rp(r), size);
        if (isBottomAlignedRotationSymmetric(rp(r))) {
            EXPECT_EQ(offset, points[0]) << r;
        } else if (isTopAlignedRotationSymmetric(rp(r))) {
            EXPECT_EQ(offset, points[2]) << r;
        }
    }
}

}  // namespace
}  // namespace Varnek
