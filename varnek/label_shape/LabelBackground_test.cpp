#include <varnek/label_shape/LabelBackground.h>

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>

#include <varnek/label_shape/TriangularLabelIndicator.h>

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
    // Center and out-of-range values give the zero vector.
    for (const int r : {-1, 12, -2, INT_MIN, INT_MAX}) {
        EXPECT_EQ(LabelBackground::getReferencePointToLabelCenterVectorMask(rp(r)), V()) << r;
    }
}

// A body of fixed minimal size (4, 2) that grows by the indicator's width
// along its edge, placed by the symmetric rule.
class ProbeBackground final : public LabelBackground {
public:
    using LabelBackground::LabelBackground;
    V getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP) const override { return {4, 2, 0}; }
    V getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(RP r) const override {
        return grow(
            r, LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(getIndicator()));
    }
    V getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(RP r,
                                                                  const V& size) const override {
        return grow(r, LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
                           r, getIndicator(), size));
    }
    std::vector<V> getPolygon(RP, const V&, const V&) const override { return {}; }

private:
    static V grow(RP r, const V& indicatorSize) {
        return {4 + (isTopOrBottomSide(r) ? indicatorSize[0] : 0.0f),
                2 + (isLeftOrRightSide(r) ? indicatorSize[0] : 0.0f), 0};
    }
    int getNumberOfPolygonPointsWithoutIndicatorPoints() const override { return 4; }
    V getBodyOffset(RP r, const V& size) const override {
        return getAxiallySymmetricBodyOffset(r, getBodySizeInMaskedCoordinates(r, size), {4, 2, 0});
    }
};

std::shared_ptr<LabelIndicator> rightAngled(bool fixed, float width) {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(fixed, width);
}

TEST(LabelBackgroundTest, AxiallySymmetricBodyOffset) {
    const V body(40.0f, 10.0f, 0.0f);
    const V minimal(4.0f, 2.0f, 0.0f);
    const struct {
        int r;
        V offset;
    } rows[] = {{0, {-18, -5, 0}}, {1, {0, -5, 0}},   {8, {20, 4, 0}},
                {11, {18, 5, 0}},  {3, {-20, -4, 0}}, {4, {-20, 0, 0}},
                {-1, {0, 0, 0}},   {12, {0, 0, 0}},   {INT_MIN, {0, 0, 0}}};
    for (const auto& row : rows) {
        EXPECT_EQ(LabelBackground::getAxiallySymmetricBodyOffset(rp(row.r), body, minimal),
                  row.offset)
            << row.r;
    }
    // Center ignores the sizes, as long as they are finite.
    EXPECT_EQ(
        LabelBackground::getAxiallySymmetricBodyOffset(RP::Center, {-3, 7e30f, 5}, {1e30f, -2, 8}),
        V());
}

TEST(LabelBackgroundTest, NullBackgroundAndNullIndicator) {
    const LabelBackground* none = nullptr;
    const V size(10.0f, 1.0f, 0.0f);
    EXPECT_EQ(
        LabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(RP::TopLeft, none),
        V());
    EXPECT_EQ(LabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
                  RP::TopLeft, none),
              V());
    EXPECT_EQ(LabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
                  RP::TopLeft, none, size),
              V());
    EXPECT_EQ(LabelBackground::getBodySizeInMaskedCoordinates(RP::TopLeft, none, size), V());
    EXPECT_EQ(LabelBackground::getCompleteSizeInMaskedCoordinates(RP::TopLeft, none, size), V());
    EXPECT_EQ(LabelBackground::getIndicator(none), nullptr);

    ProbeBackground bare(nullptr);
    EXPECT_EQ(bare.getScreenHeightFractionToMaskedSceneScaleFactor(), -1.0f);
    bare.initialize(250.0f);
    EXPECT_EQ(bare.getScreenHeightFractionToMaskedSceneScaleFactor(), 250.0f);
    EXPECT_EQ(LabelBackground::getIndicator(&bare), nullptr);
    for (const int r : {-1, 0, 4, 11, 12}) {
        EXPECT_EQ(bare.getOffset(rp(r), size),
                  LabelBackground::getAxiallySymmetricBodyOffset(rp(r), {10, 2, 0}, {4, 2, 0}));
        EXPECT_EQ(bare.getCompleteSizeInMaskedCoordinates(rp(r), size), V(10.0f, 2.0f, 0.0f));
        EXPECT_TRUE(bare.getIndicatorPolygon(rp(r), size).empty());
    }
    EXPECT_EQ(bare.getNumberOfPolygonPoints(), 4);
    // A size beyond the minimal body is kept, its third component dropped.
    EXPECT_EQ(bare.getBodySizeInMaskedCoordinates(RP::TopLeft, {50, 30, 9}), V(50.0f, 30.0f, 0.0f));
}

TEST(LabelBackgroundTest, CombinesBodyAndSharedIndicator) {
    const std::shared_ptr<LabelIndicator> indicator = rightAngled(true, 0.02f);
    ProbeBackground background(indicator);
    EXPECT_EQ(background.getIndicator(), indicator.get());
    EXPECT_EQ(indicator.use_count(), 2);
    background.initialize(100.0f);
    EXPECT_EQ(indicator->getScreenHeightFractionToMaskedSceneScaleFactor(), 100.0f);
    EXPECT_EQ(background.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(RP::TopLeft),
              V(6.0f, 2.0f, 0.0f));

    // Indicator (2, 1): the body grows along the edge, the complete size across it.
    const V size(1.0f, 1.0f, 0.0f);
    EXPECT_EQ(background.getBodySizeInMaskedCoordinates(RP::TopLeft, size), V(6.0f, 2.0f, 0.0f));
    EXPECT_EQ(background.getCompleteSizeInMaskedCoordinates(RP::TopLeft, size),
              V(6.0f, 3.0f, 0.0f));
    EXPECT_EQ(background.getCompleteSizeInMaskedCoordinates(RP::RightTop, size),
              V(5.0f, 4.0f, 0.0f));
    EXPECT_EQ(background.getCompleteSizeInMaskedCoordinates(RP::Center, size), V(4.0f, 2.0f, 0.0f));
    // Body offset (-1, -1) plus indicator offset (1, -1).
    EXPECT_EQ(background.getOffset(RP::TopLeft, size), V(0.0f, -2.0f, 0.0f));
    EXPECT_EQ(background.getIndicatorPolygon(RP::TopLeft, size),
              (std::vector<V>{{1, -1, 0}, {0, 0, 0}, {-1, -1, 0}}));
    EXPECT_EQ(background.getIndicatorPolygon(RP::Center, size), std::vector<V>(3));
    EXPECT_EQ(background.getNumberOfPolygonPoints(), 7);
}

}  // namespace
}  // namespace Varnek
