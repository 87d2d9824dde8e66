#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <gtest/gtest.h>

#include <climits>

#include <testing/LabelShapeTesting.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

TEST(TriangularLabelIndicatorTest, AcuteAngledFixedWidthKeepsItsSizeEverywhere) {
    auto indicator = TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
        true, TriangularLabelIndicator::s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction);
    indicator->initialize(100.0f);
    for (int r = -1; r < 12; ++r) {
        EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), {40, 20, 0}),
                  V(1.5f, 1, 0));
    }
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

// A right-angled triangle 2 wide and 1 high. Only the side chooses the
// points (base start, tip, base end, appended behind what the list holds);
// the label's reference point meets the base start, the base end or the
// base's middle, as its place on the edge says.
TEST(TriangularLabelIndicatorTest, PointsFollowTheSideAndTheOffsetMeetsTheBase) {
    auto indicator =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    indicator->initialize(100.0f);
    const struct {
        int r;
        float startX, startY, offsetX, offsetY;  // the base end mirrors the start along the edge
    } rows[] = {{0, 1, -1, 1, -1},  {1, 1, -1, 0, -1},   {2, 1, -1, -1, -1},   {3, -1, -1, -1, 1},
                {4, -1, -1, -1, 0}, {5, -1, -1, -1, -1}, {6, 1, 1, 1, 1},      {7, 1, 1, 1, 0},
                {8, 1, 1, 1, -1},   {9, -1, 1, 1, 1},    {10, -1, 1, 0, 1},    {11, -1, 1, -1, 1},
                {-1, 0, 0, 0, 0},   {12, 0, 0, 0, 0},    {INT_MIN, 0, 0, 0, 0}};
    for (const auto& row : rows) {
        const bool alongX = isTopOrBottomSide(rp(row.r));
        const V start(row.startX, row.startY, 0);
        const V end(alongX ? -row.startX : row.startX, alongX ? row.startY : -row.startY, 0);
        Points points{V(7, 7, 7)};
        indicator->addPolygonPointsInClockwiseOrder(rp(row.r), {30, 10, 0}, points);
        EXPECT_EQ(points, (Points{V(7, 7, 7), start, V(), end})) << row.r;
        EXPECT_EQ(indicator->getOffset(rp(row.r), {30, 10, 0}), V(row.offsetX, row.offsetY, 0))
            << row.r;
    }
}

}  // namespace
}  // namespace Varnek
