#include <varnek/label_shape/LabelIndicator.h>

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

// A minimal concrete indicator: as wide as its full width, half as high, and
// with the protected helpers opened up.
class ProbeIndicator final : public LabelIndicator {
public:
    using LabelIndicator::addTrianglePointsInClockwiseOrder;
    using LabelIndicator::getIndicatorPointToLabelReferencePointVectorMask;
    using LabelIndicator::LabelIndicator;

    V getSizeInNominalRotationInMaskedCoordinates(RP r, const V& size) const override {
        const float w = getFullWidthInMaskedCoordinates(r, size);
        return {w, w * 0.5f, 0.0f};
    }
    V getTriangleSizeInNominalRotationInMaskedCoordinates(RP r, const V& size) const override {
        return getSizeInNominalRotationInMaskedCoordinates(r, size);
    }
    int getNumberOfPolygonPoints() const override { return 3; }
    V getOffset(RP, const V&) const override { return {9.0f, 9.0f, 9.0f}; }
    void addPolygonPointsInClockwiseOrder(RP, const V&, Points&) const override {}
};

TEST(LabelIndicatorTest, FixedWidthIsKeptOnlyWhenUsedAndScaleWaitsForInitialize) {
    ProbeIndicator free(false, 0.02f);
    EXPECT_FALSE(free.getUseFixedSize());
    EXPECT_EQ(free.getFixedIndicatorWidthInScreenHeightFraction(), -1.0f);
    EXPECT_EQ(free.getMinimalSizeInNominalRotationInMaskedCoordinates(), V());

    ProbeIndicator fixed(true, 0.02f);
    EXPECT_EQ(fixed.getFixedIndicatorWidthInScreenHeightFraction(), 0.02f);
    EXPECT_EQ(fixed.getScreenHeightFractionToMaskedSceneScaleFactor(), -1.0f);
    // Never initialised: a negative full width.
    EXPECT_EQ(fixed.getMinimalSizeInNominalRotationInMaskedCoordinates(), V(-0.02f, -0.01f, 0.0f));
    fixed.initialize(50.0f);
    fixed.initialize(100.0f);
    EXPECT_EQ(fixed.getScreenHeightFractionToMaskedSceneScaleFactor(), 100.0f);
    EXPECT_EQ(fixed.getMinimalSizeInNominalRotationInMaskedCoordinates(), V(2.0f, 1.0f, 0.0f));
}

TEST(LabelIndicatorTest, FullWidthFollowsTheEdgeThatCarriesTheIndicator) {
    ProbeIndicator free(false, 0.02f);
    ProbeIndicator fixed(true, 0.02f);
    fixed.initialize(100.0f);
    const V size(10.0f, 4.0f, 7.0f);
    const struct {
        int r;
        float freeWidth;
    } rows[] = {{-1, 0}, {0, 10}, {1, 10}, {2, 10},  {3, 4},  {5, 4},
                {6, 4},  {8, 4},  {9, 10}, {11, 10}, {12, 0}, {INT_MIN, 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(free.getSizeInNominalRotationInMaskedCoordinates(rp(row.r), size)[0],
                  row.freeWidth)
            << row.r;
        EXPECT_EQ(fixed.getSizeInNominalRotationInMaskedCoordinates(rp(row.r), size)[0], 2.0f)
            << row.r;
    }
}

TEST(LabelIndicatorTest, RotationToSide) {
    const ProbeIndicator indicator(false, 0.0f);
    const V v(3.0f, 5.0f, 7.0f);
    EXPECT_EQ(indicator.getSizeRotatedToSide(LabelBackground::LeftTop, v), V(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(indicator.getSizeRotatedToSide(LabelBackground::RightBottom, v), V(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(indicator.getSizeRotatedToSide(LabelBackground::BottomCenter, v), v);
    EXPECT_EQ(indicator.getSizeRotatedToSide(LabelBackground::TopLeft, v), v);
    for (const int r : {-1, 12, INT_MAX}) {
        EXPECT_EQ(indicator.getSizeRotatedToSide(rp(r), v), V()) << r;
    }
    EXPECT_EQ(LabelIndicator::getSizeRotatedToSide(LabelBackground::LeftTop, &indicator, v),
              V(5.0f, 3.0f, 0.0f));
}

TEST(LabelIndicatorTest, StaticFormsAnswerNullWithZero) {
    const V size(10.0f, 4.0f, 0.0f);
    const LabelIndicator* none = nullptr;
    EXPECT_EQ(LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(RP::TopLeft, none, size),
              V());
    EXPECT_EQ(LabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(RP::TopLeft, none,
                                                                                  size),
              V());
    EXPECT_EQ(LabelIndicator::getOffset(RP::TopLeft, none, size), V());
    EXPECT_EQ(LabelIndicator::getSizeRotatedToSide(RP::TopLeft, none, size), V());
    EXPECT_EQ(LabelIndicator::getNumberOfPolygonPoints(none), 0);
    EXPECT_EQ(LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(none), V());

    const ProbeIndicator probe(false, 0.0f);
    EXPECT_EQ(
        LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(RP::TopLeft, &probe, size),
        V(10.0f, 5.0f, 0.0f));
    EXPECT_EQ(LabelIndicator::getOffset(RP::TopLeft, &probe, size), V(9.0f, 9.0f, 9.0f));
    EXPECT_EQ(LabelIndicator::getNumberOfPolygonPoints(&probe), 3);
}

TEST(LabelIndicatorTest, TrianglePointsDependOnlyOnTheSide) {
    const V triangle(2.0f, 1.0f, 0.0f);
    const struct {
        int r;
        V first, third;
    } rows[] = {
        {0, {1, -1, 0}, {-1, -1, 0}},
        {1, {1, -1, 0}, {-1, -1, 0}},
        {2, {1, -1, 0}, {-1, -1, 0}},
        {6, {1, 1, 0}, {1, -1, 0}},
        {8, {1, 1, 0}, {1, -1, 0}},
        {10, {-1, 1, 0}, {1, 1, 0}},
        {3, {-1, -1, 0}, {-1, 1, 0}},
        {5, {-1, -1, 0}, {-1, 1, 0}},
        {-1, {}, {}},
        {12, {}, {}},
        {INT_MIN, {}, {}},
    };
    for (const auto& row : rows) {
        Points points{V(7.0f, 7.0f, 7.0f)};
        ProbeIndicator::addTrianglePointsInClockwiseOrder(rp(row.r), triangle, points);
        EXPECT_EQ(points, (Points{V(7.0f, 7.0f, 7.0f), row.first, V(), row.third})) << row.r;
    }
}

TEST(LabelIndicatorTest, IndicatorMasks) {
    EXPECT_EQ(ProbeIndicator::getIndicatorPointToLabelReferencePointVectorMask(RP::RightTop),
              V(1.0f, 1.0f, 0.0f));
    // Corners point the other way along the edge than the centre masks do;
    // the component across the edge and the centres agree.
    for (int r = 0; r < 12; ++r) {
        const V& mask = ProbeIndicator::getIndicatorPointToLabelReferencePointVectorMask(rp(r));
        const V& centre = LabelBackground::getReferencePointToLabelCenterVectorMask(rp(r));
        const std::size_t across = isTopOrBottomSide(rp(r)) ? 1 : 0;
        const float alongSign = isCenterAligned(rp(r)) ? 1.0f : -1.0f;
        EXPECT_EQ(mask[across], centre[across]) << r;
        EXPECT_EQ(mask[1 - across], alongSign * centre[1 - across]) << r;
    }
    for (const int r : {-1, 12, INT_MIN}) {
        EXPECT_EQ(ProbeIndicator::getIndicatorPointToLabelReferencePointVectorMask(rp(r)), V())
            << r;
    }
}

}  // namespace
}  // namespace Varnek
