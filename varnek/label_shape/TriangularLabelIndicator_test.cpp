#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <gtest/gtest.h>

#include <climits>
#include <utility>

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

// A right-angled triangle 2 wide and 1 high, at a fixed width or as wide as
// the label along its edge. Only the side chooses the points (base start,
// tip, base end, appended behind what the list holds); the label's reference
// point meets the base start, the base end or the base's middle, as its
// place on the edge says. Center and out-of-range values have no width when
// free-sized, no offset and their points at the origin.
TEST(TriangularLabelIndicatorTest, PointsFollowTheSideAndTheOffsetMeetsTheBase) {
    auto fixed = TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    fixed->initialize(100.0f);
    auto free = TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(false, 0.02f);
    const struct {
        int r;
        float startX, startY, offsetX, offsetY;  // the base end mirrors the start along the edge
    } rows[] = {{0, 1, -1, 1, -1},  {1, 1, -1, 0, -1},   {2, 1, -1, -1, -1},   {3, -1, -1, -1, 1},
                {4, -1, -1, -1, 0}, {5, -1, -1, -1, -1}, {6, 1, 1, 1, 1},      {7, 1, 1, 1, 0},
                {8, 1, 1, 1, -1},   {9, -1, 1, 1, 1},    {10, -1, 1, 0, 1},    {11, -1, 1, -1, 1},
                {-1, 0, 0, 0, 0},   {12, 0, 0, 0, 0},    {INT_MIN, 0, 0, 0, 0}};
    for (const auto& row : rows) {
        const RP r = rp(row.r);
        const bool alongX = isTopOrBottomSide(r);
        const V start(row.startX, row.startY, 0);
        const V end(alongX ? -row.startX : row.startX, alongX ? row.startY : -row.startY, 0);
        // The free-sized triangle takes its width, 2, from the edge's axis.
        const V freeSize = alongX ? V(2, 9, 0) : V(9, 2, 0);
        const bool onSide = getSideOfReferencePoint(r) != LabelBackground::Undefined;
        EXPECT_EQ(free->getSizeInNominalRotationInMaskedCoordinates(r, freeSize),
                  onSide ? V(2, 1, 0) : V())
            << row.r;
        for (const auto& [indicator, size] :
             {std::make_pair(fixed.get(), V(30, 10, 0)), std::make_pair(free.get(), freeSize)}) {
            Points points{V(7, 7, 7)};
            indicator->addPolygonPointsInClockwiseOrder(r, size, points);
            EXPECT_EQ(points, (Points{V(7, 7, 7), start, V(), end})) << row.r;
            EXPECT_EQ(indicator->getOffset(r, size), V(row.offsetX, row.offsetY, 0)) << row.r;
        }
    }
}

}  // namespace
}  // namespace Varnek
