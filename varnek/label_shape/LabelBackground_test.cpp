#include <varnek/label_shape/LabelBackground.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <memory>
#include <utility>

#include <testing/LabelShapeTesting.h>
#include <varnek/label_shape/BalloonLabelBackground.h>
#include <varnek/label_shape/SymmetricCornerLabelBackground.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

using Side = LabelBackground::Side;

// The whole classification table, out-of-range values included. Flags, in
// order: top, bottom, left, right, top or bottom, left or right, centre
// aligned, end of the edge (top aligned), start of the edge (bottom aligned);
// then the signs of the centre mask's x and y. Values on no side get the one
// zero vector the library and the application share as their mask. Each
// value has its enumerator's name; anything else is "unknown".
TEST(ReferencePointTest, ClassifiesEveryValue) {
    const struct {
        int value;
        const char* flags;
        int side;
        int mirrored;
        const char* name;
    } rows[] = {
        // clang-format off
        {-1, "......C..00", -1, -1, "Center"}, {0, "T...T...S--", 0, 9, "TopLeft"},
        {1, "T...T.C..0-", 0, 10, "TopCenter"}, {2, "T...T..E.+-", 0, 11, "TopRight"},
        {3, "..L..L.E.--", 3, 6, "LeftTop"}, {4, "..L..LC..-0", 3, 7, "LeftCenter"},
        {5, "..L..L..S-+", 3, 8, "LeftBottom"}, {6, "...R.L..S+-", 1, 3, "RightTop"},
        {7, "...R.LC..+0", 1, 4, "RightCenter"}, {8, "...R.L.E.++", 1, 5, "RightBottom"},
        {9, ".B..T..E.-+", 2, 0, "BottomLeft"}, {10, ".B..T.C..0+", 2, 1, "BottomCenter"},
        {11, ".B..T...S++", 2, 2, "BottomRight"}, {12, ".........00", -1, -1, "unknown"},
        {-2, ".........00", -1, -1, "unknown"}, {INT_MIN, ".........00", -1, -1, "unknown"},
        {INT_MAX, ".........00", -1, -1, "unknown"},
        // clang-format on
    };
    // clang-format off
    bool (*const predicates[9])(RP) = {isTopSide, isBottomSide, isLeftSide, isRightSide,
        isTopOrBottomSide, isLeftOrRightSide, isCenterAligned, isTopAlignedRotationSymmetric,
        isBottomAlignedRotationSymmetric};
    // clang-format on
    const auto sign = [](char c) { return c == '+' ? 1.0f : c == '-' ? -1.0f : 0.0f; };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        const RP r = rp(row.value);
        for (std::size_t i = 0; i < 9; ++i) {
            EXPECT_EQ(predicates[i](r), row.flags[i] != '.') << "flag " << i;
        }
        EXPECT_EQ(getSideOfReferencePoint(r), row.side);
        EXPECT_EQ(getMirrored(r), row.mirrored);
        EXPECT_STREQ(toString(r), row.name);
        for (const int side : {-1, 0, 1, 2, 3, 4, INT_MIN}) {
            EXPECT_EQ(isReferencePointOnSide(r, static_cast<Side>(side)),
                      side != -1 && row.side == side)
                << "on " << side;
        }
        const V& mask = LabelBackground::getReferencePointToLabelCenterVectorMask(r);
        EXPECT_EQ(mask, V(sign(row.flags[9]), sign(row.flags[10]), 0));
        EXPECT_EQ(&mask == &V::getZeroVector(), row.side == -1);
    }
}

TEST(ReferencePointTest, SidesInClockwiseOrderAndTheirCorners) {
    const auto sides = LabelBackground::getAllSidesInClockwiseOrder();
    const int corners[4] = {2, 8, 9, 3};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(toIndex(sides[i]), static_cast<int>(i));
        EXPECT_EQ(getCornerOfSideInClockwiseOrder(sides[i]), corners[i]);
    }
    for (const int side : {-1, 4, INT_MIN}) {
        EXPECT_EQ(getCornerOfSideInClockwiseOrder(static_cast<Side>(side)),
                  LabelBackground::Center);
    }
}

TEST(LabelBackgroundTest, AxiallySymmetricBodyOffset) {
    const V body(40.0f, 10.0f, 0.0f);
    const V minimal(4.0f, 2.0f, 0.0f);
    const struct {
        int r;
        V offset;
    } rows[] = {{0, {-18, -5, 0}}, {1, {0, -5, 0}},   {8, {20, 4, 0}},
                {11, {18, 5, 0}},  {3, {-20, -4, 0}}, {4, {-20, 0, 0}},
                {-1, {}},          {12, {}},          {INT_MIN, {}}};
    for (const auto& row : rows) {
        EXPECT_EQ(LabelBackground::getAxiallySymmetricBodyOffset(rp(row.r), body, minimal),
                  row.offset)
            << row.r;
    }
}

TEST(LabelBackgroundTest, AbsentBackgroundOrIndicator) {
    const LabelBackground* none = nullptr;
    const V size(10.0f, 1.0f, 0.0f);
    const RP r = LabelBackground::TopLeft;
    EXPECT_EQ(LabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r, none), V());
    EXPECT_EQ(
        LabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r, none),
        V());
    EXPECT_EQ(
        LabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, none, size),
        V());
    EXPECT_EQ(LabelBackground::getBodySizeInMaskedCoordinates(r, none, size), V());
    EXPECT_EQ(LabelBackground::getCompleteSizeInMaskedCoordinates(r, none, size), V());
    EXPECT_EQ(LabelBackground::getIndicator(none), nullptr);

    auto bare = SymmetricCornerLabelBackground::createFlatCornered(nullptr);
    EXPECT_EQ(bare->getScreenHeightFractionToMaskedSceneScaleFactor(), -1.0f);
    bare->initialize(250.0f);
    for (const int value : {-1, 0, 4, 11, 12}) {
        const V body = bare->getBodySizeInMaskedCoordinates(rp(value), size);
        EXPECT_EQ(body, V(10.0f, 2.0f, 0.0f));
        EXPECT_EQ(bare->getCompleteSizeInMaskedCoordinates(rp(value), size), body);
        EXPECT_EQ(bare->getOffset(rp(value), size),
                  LabelBackground::getAxiallySymmetricBodyOffset(rp(value), body, {2, 2, 0}));
    }
    EXPECT_EQ(bare->getNumberOfPolygonPoints(), 8);
    EXPECT_EQ(bare->getBodySizeInMaskedCoordinates(r, {50, 30, 9}), V(50.0f, 30.0f, 0.0f));
}

// Forgetting initialize gives plausible geometry, so the state is queryable:
// the factories with a scale factor initialize background and indicator as a
// later initialize would, and any value counts, even the unset -1.0.
TEST(LabelBackgroundTest, InitializedStateAndFactoriesWithTheScale) {
    using Background = SymmetricCornerLabelBackground;
    using Create = std::shared_ptr<Background> (*)(std::shared_ptr<LabelIndicator>);
    using CreateScaled = std::shared_ptr<Background> (*)(std::shared_ptr<LabelIndicator>, float);
    const struct {
        Create create;
        CreateScaled createScaled;
    } factories[] = {{Background::createRoundCornered, Background::createRoundCornered},
                     {Background::createFlatCornered, Background::createFlatCornered},
                     {Background::createSimpleRectangle, Background::createSimpleRectangle}};
    const V size(40.0f, 20.0f, 0.0f);
    for (const auto& factory : factories) {
        auto indicator =
            TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015f);
        const auto later = factory.create(std::move(indicator));
        EXPECT_FALSE(later->isInitialized());
        EXPECT_FALSE(later->getIndicator()->isInitialized());
        later->initialize(250.0f);

        const auto scaled = factory.createScaled(
            TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015f),
            250.0f);
        EXPECT_TRUE(scaled->isInitialized());
        EXPECT_TRUE(scaled->getIndicator()->isInitialized());
        EXPECT_EQ(scaled->getIndicator()->getScreenHeightFractionToMaskedSceneScaleFactor(),
                  250.0f);
        const RP r = LabelBackground::TopLeft;
        EXPECT_EQ(scaled->getPolygon(r, size, scaled->getOffset(r, size)),
                  later->getPolygon(r, size, later->getOffset(r, size)));
    }

    EXPECT_FALSE(BalloonLabelBackground().isInitialized());
    const BalloonLabelBackground balloon(250.0f);
    EXPECT_TRUE(balloon.isInitialized());
    EXPECT_EQ(balloon.getScreenHeightFractionToMaskedSceneScaleFactor(), 250.0f);

    auto unset = Background::createSimpleRectangle(nullptr);
    unset->initialize(-1.0f);
    EXPECT_TRUE(unset->isInitialized());
}

// One indicator shared by two backgrounds takes the last scale factor given
// to either, and so changes the first one's geometry.
TEST(LabelBackgroundTest, SharedIndicatorTakesTheLastScale) {
    std::shared_ptr<LabelIndicator> shared =
        TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02f);
    const auto a = SymmetricCornerLabelBackground::createFlatCornered(shared, 600.0f);
    const V size(40.0f, 20.0f, 0.0f);
    const V before = a->getOffset(LabelBackground::TopLeft, size);
    const auto b = SymmetricCornerLabelBackground::createFlatCornered(shared, 100.0f);
    EXPECT_EQ(a->getScreenHeightFractionToMaskedSceneScaleFactor(), 600.0f);
    EXPECT_EQ(a->getIndicator()->getScreenHeightFractionToMaskedSceneScaleFactor(), 100.0f);
    EXPECT_NE(a->getOffset(LabelBackground::TopLeft, size), before);
}

}  // namespace
}  // namespace Varnek
