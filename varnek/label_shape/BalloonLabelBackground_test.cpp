#include <varnek/label_shape/BalloonLabelBackground.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <varnek/label_shape/LabelShapeTesting.h>

namespace Varnek {
namespace {

using Vector3f = Vector<float, 3>;
using Polygon = std::vector<Vector3f>;
using R = LabelBackground::ReferencePoint;

Polygon polygonOfWidth(const BalloonLabelBackground& balloon, float width) {
    return balloon.getPolygon(R::TopCenter, Vector3f(width, 5.0f, 0.0f), Vector3f());
}

TEST(BalloonLabelBackgroundTest, OutlineRunsClockwiseFromTheTipAndScalesByWidthOnly) {
    BalloonLabelBackground balloon;
    const Polygon outline = polygonOfWidth(balloon, 61.55f);  // the stored outline
    ASSERT_EQ(outline.size(), 57u);
    EXPECT_EQ(outline.front(), Vector3f());
    EXPECT_GT(outline[1][0], 0.0f);  // down the +x side first
    float twiceArea = 0.0f;          // positive for clockwise with y downwards
    Vector3f low;
    Vector3f high;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vector3f& a = outline[i];
        const Vector3f& b = outline[(i + 1) % outline.size()];
        twiceArea += a[0] * b[1] - b[0] * a[1];
        for (std::size_t axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], a[axis]);
            high[axis] = std::max(high[axis], a[axis]);
        }
    }
    EXPECT_GT(twiceArea, 0.0f);
    EXPECT_NEAR(high[0] - low[0], 61.55f, 0.0005f);
    EXPECT_NEAR(high[1] - low[1], 99.594f, 0.0005f);
    EXPECT_EQ(high[2] - low[2], 0.0f);

    const Vector3f offset(7.0f, -8.0f, 9.0f);
    for (int value = -1; value <= 11; ++value) {  // Center and the twelve placed values
        const auto r = static_cast<R>(value);
        EXPECT_EQ(balloon.getPolygon(r, Vector3f(61.55f, 400.0f, 3.0f), offset), outline) << r;
    }
    const struct {
        float width;
        float factor;
    } cases[] = {{2.0f * 61.55f, 2.0f}, {0.0f, 0.0f}, {-61.55f, -1.0f}};
    for (const auto& c : cases) {
        const Polygon scaled = polygonOfWidth(balloon, c.width);
        ASSERT_EQ(scaled.size(), outline.size()) << c.width;
        for (std::size_t i = 0; i < outline.size(); ++i) {
            EXPECT_EQ(scaled[i], Vector3f(outline[i][0] * c.factor, outline[i][1] * c.factor, 0))
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
    const Vector3f size(61.8f, 5.0f, 0.0f);
    for (int value = -1; value <= 11; ++value) {
        const auto r = static_cast<R>(value);
        EXPECT_EQ(balloon.getOffset(r, size), Vector3f(0.0f, 69.1f, 0.0f)) << r;
        EXPECT_EQ(balloon.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r), Vector3f());
        EXPECT_EQ(balloon.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r),
                  Vector3f());
        EXPECT_EQ(balloon.getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size),
                  Vector3f());
        EXPECT_EQ(balloon.getBodySizeInMaskedCoordinates(r, Vector3f(3.0f, -2.0f, 9.0f)),
                  Vector3f(3.0f, 0.0f, 0.0f));
        EXPECT_EQ(balloon.getCompleteSizeInMaskedCoordinates(r, size), Vector3f(61.8f, 5.0f, 0.0f));
        EXPECT_TRUE(balloon.getIndicatorPolygon(r, size).empty());
    }
}

}  // namespace
}  // namespace Varnek
