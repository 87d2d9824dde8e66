// Counts the allocations of the operations the headers say allocate nothing,
// or exactly their result, and checks the noexcept the label shapes declare.
// Counts through the allocation hook that FailingAllocator.h arms.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <catalogue/LabelKinds.h>
#include <varnek/varnek.h>

#include "FailingAllocator.h"

namespace Varnek {
namespace {

using testing::armAllocationFailure;
using testing::disarmAllocationFailure;
using ReferencePoint = LabelBackground::ReferencePoint;
using V = Vector<float, 3>;

// The calling thread's allocations during operation.
long allocationsOf(const std::function<void()>& operation) {
    armAllocationFailure(0);
    operation();
    return disarmAllocationFailure().allocations;
}

// Every background shape the catalogue lists with every indicator kind,
// fixed and free-sized, initialized.
std::vector<std::shared_ptr<LabelBackground>> everyLabelKind() {
    std::vector<std::shared_ptr<LabelBackground>> all;
    for (const VarnekCatalogue::BackgroundShapeRow& shape : VarnekCatalogue::backgroundShapes()) {
        for (const VarnekCatalogue::IndicatorKindRow& kind : VarnekCatalogue::indicatorKinds()) {
            for (const bool fixed : {true, false}) {
                all.push_back(
                    VarnekCatalogue::makeBackground(shape.shape, kind.kind, {true, fixed, 0.015F}));
                all.back()->initialize(250.0F);
            }
        }
    }
    return all;
}

TEST(AllocationCountTest, LabelQueriesAllocateNothingButTheirOutline) {
    if (!testing::allocationHookIsActive()) {
        GTEST_SKIP() << "the allocation functions of the test are replaced";
    }
    const V size(40.0F, 20.0F, 0.0F);
    for (const auto& background : everyLabelKind()) {
        const LabelBackground& b = *background;
        const LabelIndicator* indicator = b.getIndicator();
        for (int r = LabelBackground::Center; r <= LabelBackground::BottomRight; ++r) {
            const auto point = static_cast<ReferencePoint>(r);
            // Room for the outline, and one point more for a layered
            // indicator that appends more points than it counts.
            std::vector<V> appended;
            appended.reserve(static_cast<std::size_t>(b.getNumberOfPolygonPoints()) + 1);
            SCOPED_TRACE(::testing::Message() << "reference point " << r);
            EXPECT_EQ(
                allocationsOf([&] {
                    (void)b.getBodySizeInMaskedCoordinates(point, size);
                    (void)b.getCompleteSizeInMaskedCoordinates(point, size);
                    (void)b.getOffset(point, size);
                    (void)b.getNumberOfPolygonPoints();
                    (void)b.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(point);
                    (void)b.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(point);
                    (void)b.getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(point,
                                                                                        size);
                    (void)LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(
                        point, indicator, size);
                    (void)LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(
                        indicator);
                    V minimum;
                    V maximum;
                    b.getPolygonExtent(point, size, b.getOffset(point, size), minimum, maximum);
                    appended.clear();
                    b.appendPolygon(point, size, b.getOffset(point, size), appended);
                    if (indicator != nullptr) {
                        std::array<V, 8> points{};
                        (void)indicator->writePolygonPointsInClockwiseOrder(point, size,
                                                                            points.data());
                    }
                }),
                0);

            // Exactly the result, for a placed reference point: one block, no
            // spare capacity.
            if (point == LabelBackground::Center) {
                continue;
            }
            for (const auto& polygon :
                 {std::function<std::vector<V>()>(
                      [&] { return b.getPolygon(point, size, b.getOffset(point, size)); }),
                  std::function<std::vector<V>()>(
                      [&] { return b.getIndicatorPolygon(point, size); })}) {
                std::vector<V> result;
                const long allocations = allocationsOf([&] { result = polygon(); });
                EXPECT_EQ(allocations, result.empty() ? 0 : 1);
                EXPECT_EQ(result.capacity(), result.size());
            }
            // The fill triangles: one block, however large the scratch.
            const std::vector<V> outline = b.getPolygon(point, size, b.getOffset(point, size));
            std::vector<std::uint32_t> triangles;
            EXPECT_EQ(
                allocationsOf([&] { triangles = LabelBackground::getPolygonTriangles(outline); }),
                1);
            EXPECT_FALSE(triangles.empty());
        }
    }
}

TEST(AllocationCountTest, VocabularyLookupsAllocateNothing) {
    if (!testing::allocationHookIsActive()) {
        GTEST_SKIP() << "the allocation functions of the test are replaced";
    }
    const std::vector<DrawVisibleType> visible = {DrawVisibleType::Faces, DrawVisibleType::Edges};
    const std::vector<DrawShaderAffectedType> shader = {DrawShaderAffectedType::Lines};
    std::string text = "color = (faces = r=0.000 g=0.000 b=0.000)";
    EXPECT_EQ(
        allocationsOf([&] {
            for (int value = -1; value <= 43; ++value) {
                (void)DrawPatternFace::getHoopsNotation(
                    static_cast<DrawPatternFace::Pattern>(value));
                (void)DrawPatternLine::getHoopsNotation(static_cast<DrawPatternLine::Enum>(value));
                (void)DrawCoordinates::getHoopsNotation(static_cast<DrawCoordinates::Enum>(value));
                (void)DrawSymbolPoint::getHoopsNotation(static_cast<DrawSymbolPoint::Enum>(value));
                (void)DrawStyleMesh::getDrawKey(DrawStyleMesh(value));
                (void)DrawStyleMesh::next(static_cast<DrawStyleMesh::Enum>(value));
            }
            const DrawVisibleTypesCollection visibleSet(visible);
            (void)visibleSet.isDrawTypeVisible(DrawVisibleType::Edges);
            const DrawShaderAffectedTypesCollection shaderSet(shader);
            (void)shaderSet.isTypeAffected(DrawShaderAffectedType::Lines);
            ColorRGB::toStringAt(text, 17, ColorRGB(0.25F, 0.5F, 1.0F));
            (void)DrawSymbolPoint::getGlyphColorAsChars(ColorRGB(0.25F, 0.5F, 1.0F));
            (void)DrawZLayer::computeRandomLabelOffset();
        }),
        0);
    std::string colour;
    EXPECT_EQ(allocationsOf([&] { colour = ColorRGB::toString(ColorRGB(0.25F, 0.5F, 1.0F)); }), 1);
}

// What no override can reach is declared noexcept.
TEST(AllocationCountTest, QueriesNoOverrideReachesAreNoexcept) {
    LabelBackground* background = nullptr;
    LabelIndicator* indicator = nullptr;
    const V size;
    static_assert(noexcept(background->initialize(1.0F)));
    static_assert(noexcept(background->isInitialized()));
    static_assert(noexcept(background->getIndicator()));
    static_assert(noexcept(
        LabelBackground::getAxiallySymmetricBodyOffset(LabelBackground::TopLeft, size, size)));
    static_assert(noexcept(
        LabelBackground::getReferencePointToLabelCenterVectorMask(LabelBackground::TopLeft)));
    static_assert(noexcept(getMirrored(LabelBackground::TopLeft)));
    static_assert(noexcept(indicator->initialize(1.0F)));
    static_assert(noexcept(indicator->getSizeRotatedToSide(LabelBackground::TopLeft, size)));
    static_assert(noexcept(BalloonLabelBackground::getBalloonWidthHeightRatio()));
    // Overridable queries pass on what an override throws.
    static_assert(!noexcept(background->getOffset(LabelBackground::TopLeft, size)));
    SUCCEED();
}

}  // namespace
}  // namespace Varnek
