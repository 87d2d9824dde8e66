#include <varnek/label_shape/LayeredLabelIndicator.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include <testing/LabelShapeTesting.h>

namespace Varnek {
namespace {

using namespace VarnekTesting;

using Layer = LayeredLabelIndicator::Layer;
constexpr Layer Lower = LayeredLabelIndicator::Lower;
constexpr Layer Middle = LayeredLabelIndicator::Middle;
constexpr Layer Upper = LayeredLabelIndicator::Upper;

std::unique_ptr<LayeredLabelIndicator> freeSized(bool bar, Layer layer, float scale) {
    auto indicator = LayeredLabelIndicator::createLayeredLabelIndicator(bar, layer, false, 0.0f);
    indicator->initialize(scale);
    return indicator;
}

// Full width 20 at scale 100: the triangle is 11 wide; its height
// (20 x 0.6) x 0.55 rounds to one unit above the float nearest 6.6; the bar
// is 20 x 0.12 thick, which makes the whole height exactly 9.
const float th = floatFromBits(0x40D33334u);

TEST(LayeredLabelIndicatorTest, WorkedExampleOnTheTopSide) {
    const V size(20.0f, 8.0f, 0.0f);
    const struct {
        Layer layer;
        Points points;
        Points offsets;  // TopLeft, TopCenter, TopRight
    } rows[] = {
        {Lower, pointsXY({14.5f, -9, 14.5f, -th, 5.5f, -th, 0, 0, -5.5f, -th, -5.5f, -9}),
         pointsXY({14.5f, -9, 4.5f, -9, -5.5f, -9})},
        {Middle, pointsXY({10, -9, 10, -th, 5.5f, -th, 0, 0, -5.5f, -th, -10, -th, -10, -9}),
         pointsXY({10, -9, 0, -9, -10, -9})},
        {Upper, pointsXY({5.5f, -9, 5.5f, -th, 0, 0, -5.5f, -th, -14.5f, -th, -14.5f, -9}),
         pointsXY({5.5f, -9, -4.5f, -9, -14.5f, -9})},
    };
    for (const auto& row : rows) {
        const auto indicator = freeSized(true, row.layer, 100.0f);
        EXPECT_EQ(indicator->getNumberOfPolygonPoints(), static_cast<int>(row.points.size()));
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), size),
                      V(20, 9, 0));
            EXPECT_EQ(indicator->getTriangleSizeInNominalRotationInMaskedCoordinates(rp(r), size),
                      V(11, th, 0));
            EXPECT_EQ(pointsOf(*indicator, rp(r), size), row.points) << row.layer << " r=" << r;
            EXPECT_EQ(indicator->getOffset(rp(r), size), row.offsets[static_cast<std::size_t>(r)])
                << row.layer << " r=" << r;
        }
    }
    // At scale 1000 the bar's minimal thickness, 0.005 x 1000 = 5, wins.
    EXPECT_EQ(freeSized(true, Middle, 1000.0f)
                  ->getSizeInNominalRotationInMaskedCoordinates(LabelBackground::TopCenter, size),
              V(20, 11.6f, 0));
}

TEST(LayeredLabelIndicatorTest, LowerEndOfAVerticalEdge) {
    const auto indicator = freeSized(true, Lower, 100.0f);
    const V size(8.0f, 20.0f, 0.0f);
    EXPECT_EQ(pointsOf(*indicator, LabelBackground::LeftCenter, size),
              pointsXY({-9, -14.5f, -th, -14.5f, -th, -5.5f, 0, 0, -th, 5.5f, -9, 5.5f}));
    EXPECT_EQ(indicator->getOffset(LabelBackground::LeftCenter, size), V(-9, -4.5f, 0));
}

// Where the triangle sits in the walk shows in where the tip lands among six
// points: third when it is drawn first, fourth when it is drawn last. Without
// the bar only the triangle is drawn (the outline contract test counts its
// points), but the full width and the triangle's place on the edge stay.
TEST(LayeredLabelIndicatorTest, TriangleAtTheStartOrEndOfTheWalk) {
    const V size(20.0f, 20.0f, 0.0f);
    for (int r = 0; r < 12; ++r) {
        for (const Layer layer : {Lower, Middle, Upper}) {
            const auto withBar = freeSized(true, layer, 100.0f);
            const auto bare = freeSized(false, layer, 100.0f);
            const Points points = pointsOf(*withBar, rp(r), size);
            if (layer != Middle) {
                const bool first = (r < 6) == (layer == Upper);
                EXPECT_EQ(std::find(points.begin(), points.end(), V()) - points.begin(),
                          first ? 2 : 3)
                    << "r=" << r << " layer=" << layer;
            }
            EXPECT_EQ(bare->getSizeInNominalRotationInMaskedCoordinates(rp(r), size), V(20, th, 0));
            const std::size_t along = isLeftOrRightSide(rp(r)) ? 1 : 0;
            EXPECT_EQ(bare->getOffset(rp(r), size)[along], withBar->getOffset(rp(r), size)[along])
                << "r=" << r << " layer=" << layer;
        }
    }
}

// Center and out-of-range values: seven points at the origin with the bar,
// whatever the layer; an odd layer value puts the triangle in the middle.
TEST(LayeredLabelIndicatorTest, OutOfRangeValues) {
    const V size(20.0f, 8.0f, 0.0f);
    for (const int r : {-1, 12, INT_MIN}) {
        for (const Layer layer : {Lower, Middle, Upper}) {
            const auto indicator = freeSized(true, layer, 100.0f);
            EXPECT_EQ(pointsOf(*indicator, rp(r), size), Points(7)) << r;
            EXPECT_EQ(indicator->getOffset(rp(r), size), V()) << r;
            EXPECT_EQ(indicator->getSizeInNominalRotationInMaskedCoordinates(rp(r), size),
                      V(0, 0.5f, 0));
        }
    }
    const auto odd = freeSized(true, static_cast<Layer>(3), 100.0f);
    EXPECT_EQ(odd->getNumberOfPolygonPoints(), 6);
    EXPECT_EQ(pointsOf(*odd, LabelBackground::TopCenter, size).size(), 7u);
}

}  // namespace
}  // namespace Varnek
