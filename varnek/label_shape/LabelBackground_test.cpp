#include <varnek/label_shape/LabelBackground.h>

#include <gtest/gtest.h>

#include <climits>

#include <varnek/label_shape/LabelShapeTesting.h>

namespace Varnek {
namespace {

using RP = LabelBackground::ReferencePoint;
using Side = LabelBackground::Side;
using V = Vector<float, 3>;

RP rp(int value) {
    return static_cast<RP>(value);
}

// The whole classification table, out-of-range values included.
TEST(ReferencePointTest, ClassifiesEveryValue) {
    const struct {
        int value;
        bool top, bottom, left, right, topOrBottom, leftOrRight, centre, endOfEdge, startOfEdge;
        Side side;
        int mirrored;
    } rows[] = {
        {-1, 0, 0, 0, 0, 0, 0, 1, 0, 0, LabelBackground::Undefined, -1},
        {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, LabelBackground::Top, 9},
        {1, 1, 0, 0, 0, 1, 0, 1, 0, 0, LabelBackground::Top, 10},
        {2, 1, 0, 0, 0, 1, 0, 0, 1, 0, LabelBackground::Top, 11},
        {3, 0, 0, 1, 0, 0, 1, 0, 1, 0, LabelBackground::Left, 6},
        {4, 0, 0, 1, 0, 0, 1, 1, 0, 0, LabelBackground::Left, 7},
        {5, 0, 0, 1, 0, 0, 1, 0, 0, 1, LabelBackground::Left, 8},
        {6, 0, 0, 0, 1, 0, 1, 0, 0, 1, LabelBackground::Right, 3},
        {7, 0, 0, 0, 1, 0, 1, 1, 0, 0, LabelBackground::Right, 4},
        {8, 0, 0, 0, 1, 0, 1, 0, 1, 0, LabelBackground::Right, 5},
        {9, 0, 1, 0, 0, 1, 0, 0, 1, 0, LabelBackground::Bottom, 0},
        {10, 0, 1, 0, 0, 1, 0, 1, 0, 0, LabelBackground::Bottom, 1},
        {11, 0, 1, 0, 0, 1, 0, 0, 0, 1, LabelBackground::Bottom, 2},
        {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, LabelBackground::Undefined, -1},
        {-2, 0, 0, 0, 0, 0, 0, 0, 0, 0, LabelBackground::Undefined, -1},
        {INT_MIN, 0, 0, 0, 0, 0, 0, 0, 0, 0, LabelBackground::Undefined, -1},
        {INT_MAX, 0, 0, 0, 0, 0, 0, 0, 0, 0, LabelBackground::Undefined, -1},
    };
    for (const auto& row : rows) {
        const RP r = rp(row.value);
        EXPECT_EQ(isTopSide(r), row.top) << row.value;
        EXPECT_EQ(isBottomSide(r), row.bottom) << row.value;
        EXPECT_EQ(isLeftSide(r), row.left) << row.value;
        EXPECT_EQ(isRightSide(r), row.right) << row.value;
        EXPECT_EQ(isTopOrBottomSide(r), row.topOrBottom) << row.value;
        EXPECT_EQ(isLeftOrRightSide(r), row.leftOrRight) << row.value;
        EXPECT_EQ(isCenterAligned(r), row.centre) << row.value;
        EXPECT_EQ(isTopAlignedRotationSymmetric(r), row.endOfEdge) << row.value;
        EXPECT_EQ(isBottomAlignedRotationSymmetric(r), row.startOfEdge) << row.value;
        EXPECT_EQ(getSideOfReferencePoint(r), row.side) << row.value;
        EXPECT_EQ(getMirrored(r), row.mirrored) << row.value;
        for (const int side : {-1, 0, 1, 2, 3, 4, INT_MIN}) {
            EXPECT_EQ(isReferencePointOnSide(r, static_cast<Side>(side)),
                      side != -1 && row.side == side)
                << row.value << " on " << side;
        }
    }
}

TEST(ReferencePointTest, SidesAndTheirClockwiseCorners) {
    const auto sides = LabelBackground::getAllSidesInClockwiseOrder();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(toIndex(sides[static_cast<std::size_t>(i)]), i);
        const RP corner = getCornerOfSideInClockwiseOrder(sides[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(isReferencePointOnSide(corner, sides[static_cast<std::size_t>(i)]));
        EXPECT_TRUE(isTopAlignedRotationSymmetric(corner));
    }
    EXPECT_EQ(getCornerOfSideInClockwiseOrder(LabelBackground::Top), LabelBackground::TopRight);
    EXPECT_EQ(getCornerOfSideInClockwiseOrder(LabelBackground::Right),
              LabelBackground::RightBottom);
    EXPECT_EQ(getCornerOfSideInClockwiseOrder(LabelBackground::Bottom),
              LabelBackground::BottomLeft);
    EXPECT_EQ(getCornerOfSideInClockwiseOrder(LabelBackground::Left), LabelBackground::LeftTop);
    for (const int side : {-1, 4, INT_MIN, INT_MAX}) {
        EXPECT_EQ(getCornerOfSideInClockwiseOrder(static_cast<Side>(side)),
                  LabelBackground::Center);
    }
    EXPECT_EQ(toIndex(LabelBackground::Undefined), -1);
}

TEST(ReferencePointTest, CentreMasks) {
    const V expected[12] = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {-1, -1, 0},
                            {-1, 0, 0},  {-1, 1, 0}, {1, -1, 0}, {1, 0, 0},
                            {1, 1, 0},   {-1, 1, 0}, {0, 1, 0},  {1, 1, 0}};
    for (int r = 0; r < 12; ++r) {
        const V& mask = LabelBackground::getReferencePointToLabelCenterVectorMask(rp(r));
        EXPECT_EQ(mask, expected[r]) << r;
        // The mirror image lies across the side's edge: only that component flips.
        const V& mirrored =
            LabelBackground::getReferencePointToLabelCenterVectorMask(getMirrored(rp(r)));
        const std::size_t across = isTopOrBottomSide(rp(r)) ? 1 : 0;
        EXPECT_EQ(mirrored[across], -mask[across]) << r;
        EXPECT_EQ(mirrored[1 - across], mask[1 - across]) << r;
    }
    // Center and out-of-range values refer to the one zero vector.
    for (const int r : {-1, 12, -2, INT_MIN, INT_MAX}) {
        EXPECT_EQ(&LabelBackground::getReferencePointToLabelCenterVectorMask(rp(r)),
                  &V::getZeroVector())
            << r;
    }
}

}  // namespace
}  // namespace Varnek
