#include <varnek/label_shape/BalloonLabelBackground.h>

#include <gtest/gtest.h>

#include <testing/LabelShapeTesting.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

Points polygonOfWidth(const BalloonLabelBackground& balloon, float width) {
    return balloon.getPolygon(LabelBackground::TopCenter, V(width, 5.0f, 0.0f), V());
}

// The outline contract test checks the tip, the turn and the extent.
TEST(BalloonLabelBackgroundTest, OutlineStartsDownTheRightSideAndScalesByWidthOnly) {
    BalloonLabelBackground balloon;
    const Points outline = polygonOfWidth(balloon, 61.55f);  // the stored outline
    ASSERT_EQ(outline.size(), 57u);
    EXPECT_GT(outline[1][0], 0.0f);  // down the +x side first

    for (int r = -1; r <= 11; ++r) {  // Center and the twelve placed values
        EXPECT_EQ(balloon.getPolygon(rp(r), V(61.55f, 400.0f, 3.0f), V(7, -8, 9)), outline) << r;
    }
    const struct {
        float width;
        float factor;
    } cases[] = {{2.0f * 61.55f, 2.0f}, {0.0f, 0.0f}, {-61.55f, -1.0f}};
    for (const auto& c : cases) {
        const Points scaled = polygonOfWidth(balloon, c.width);
        ASSERT_EQ(scaled.size(), outline.size()) << c.width;
        for (std::size_t i = 0; i < outline.size(); ++i) {
            EXPECT_EQ(scaled[i], V(outline[i][0] * c.factor, outline[i][1] * c.factor, 0))
                << c.width << " point " << i;
        }
    }
    balloon.buildUnscaledPolygonBackground();
    EXPECT_EQ(polygonOfWidth(balloon, 61.55f), outline);
}

TEST(BalloonLabelBackgroundTest, SizesAndOffsetsIgnoreTheReferencePoint) {
    BalloonLabelBackground balloon;
    balloon.initialize(250.0f);
    EXPECT_EQ(balloon.getIndicator(), nullptr);
    EXPECT_EQ(balloon.getNumberOfPolygonPoints(), 57);
    EXPECT_EQ(bitsOf(BalloonLabelBackground::getBalloonWidthHeightRatio()), 0x3F1E353Fu);
    const V size(61.8f, 5.0f, 0.0f);
    for (int value = -1; value <= 11; ++value) {
        const RP r = rp(value);
        EXPECT_EQ(balloon.getOffset(r, size), V(0.0f, 69.1f, 0.0f)) << r;
        EXPECT_EQ(balloon.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r), V());
        EXPECT_EQ(balloon.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r), V());
        EXPECT_EQ(balloon.getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size),
                  V());
        EXPECT_EQ(balloon.getBodySizeInMaskedCoordinates(r, V(3.0f, -2.0f, 9.0f)), V(3, 0, 0));
        EXPECT_EQ(balloon.getCompleteSizeInMaskedCoordinates(r, size), size);
    }
}

}  // namespace
}  // namespace Varnek
