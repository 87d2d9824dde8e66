// Makes every allocation of an operation fail in turn, one run per allocation:
// the std::bad_alloc must reach the caller, nothing may leak (the asan preset
// checks leaks at exit), and no object that existed before the call may change.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

#include "FailingAllocator.h"

namespace Varnek {
namespace {

using testing::AllocationCount;
using testing::armAllocationFailure;
using testing::disarmAllocationFailure;

// The objects that exist while the operations run; their observable state
// must be the same after every failed operation as before it.
struct World {
    World() {
        background->initialize(250.0F);
        // A long translation, so that the translated name is allocated.
        Translator::addTranslation("DrawColorMode", "Skin", std::string(40, 'S'));
    }
    ~World() { Translator::clearTranslations(); }

    std::string describe() const {
        std::ostringstream out;
        out.precision(9);
        out << DrawColorMode::toString(DrawColorMode::Skin) << '\n'
            << visible.getHoopsNotation() << ' ' << shader.getHoopsNotation() << '\n'
            << "indicator shared " << indicator.use_count() << " times, scale "
            << background->getScreenHeightFractionToMaskedSceneScaleFactor() << ' '
            << indicator->getScreenHeightFractionToMaskedSceneScaleFactor() << '\n';
        const Vector<float, 3> size(40.0F, 20.0F, 0.0F);
        const LabelBackground::ReferencePoint r = LabelBackground::TopLeft;
        for (const auto& outline : {background->getPolygon(r, size, background->getOffset(r, size)),
                                    balloon->getPolygon(r, size, size)}) {
            for (const Vector<float, 3>& point : outline) {
                out << point[0] << ',' << point[1] << ' ';
            }
        }
        return out.str();
    }

    DrawVisibleTypesCollection visible{{DrawVisibleType::Faces, DrawVisibleType::Perimeters}};
    DrawShaderAffectedTypesCollection shader{{DrawShaderAffectedType::Points,
                                              DrawShaderAffectedType::Lines,
                                              DrawShaderAffectedType::Triangles}};
    std::shared_ptr<LabelIndicator> indicator =
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015F);
    std::shared_ptr<SymmetricCornerLabelBackground> background =
        SymmetricCornerLabelBackground::createRoundCornered(indicator);
    std::shared_ptr<BalloonLabelBackground> balloon = std::make_shared<BalloonLabelBackground>();
};

struct Operation {
    const char* name;
    std::function<void(const World&)> run;
};

// Runs operation once counting its allocations, then once for every one of
// them with exactly that allocation failing: with std::bad_alloc, or with
// exception, which stands in for what a sibling library throws.
template <typename Thrown = std::bad_alloc>
void failEveryAllocationOf(const Operation& operation, const World& world,
                           const std::exception_ptr& exception = nullptr) {
    SCOPED_TRACE(operation.name);
    const std::string before = world.describe();

    armAllocationFailure(0);
    ASSERT_NO_THROW(operation.run(world));
    const AllocationCount counted = disarmAllocationFailure();
    ASSERT_GT(counted.allocations, 0) << "the operation allocates nothing: the row tests nothing";

    for (long n = 1; n <= counted.allocations; ++n) {
        if (exception) {
            testing::armAllocationException(n, exception);
        } else {
            armAllocationFailure(n);
        }
        EXPECT_THROW(operation.run(world), Thrown) << "failure of allocation " << n;
        const AllocationCount failing = disarmAllocationFailure();
        ASSERT_TRUE(failing.failed) << "allocation " << n << " was not reached";
        EXPECT_EQ(world.describe(), before) << "after failure of allocation " << n;
    }
}

TEST(AllocationFailureTest, EveryFailedAllocationReachesTheCallerAndChangesNothing) {
    if (!testing::allocationHookIsActive()) {
        GTEST_SKIP() << "the allocation functions of the test are replaced";
    }
    const World existing;
    const std::vector<Operation> operations = {
        {"DrawColorMode::toString",
         [](const World&) { (void)DrawColorMode::toString(DrawColorMode::Skin); }},
        {"DrawVisibleTypesCollection::getHoopsNotation",
         [](const World& world) { (void)world.visible.getHoopsNotation(); }},
        {"DrawShaderAffectedTypesCollection::getHoopsNotation",
         [](const World& world) { (void)world.shader.getHoopsNotation(); }},
        {"ColorRGB::toString",
         [](const World&) { (void)ColorRGB::toString(ColorRGB(0.25F, 0.5F, 1.0F)); }},
        {"createMeasurementLinePatternDefinition",
         [](const World&) {
             (void)DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
                 0.0F, 1000000.0F, -1.25F, -3, 4, DrawSymbolPoint::FilledDiamond,
                 DrawSymbolPoint::SimpleArrowLineEnd, ColorRGB(0.1F, 0.2F, 0.3F));
         }},
        {"SymmetricCornerLabelBackground::getPolygon",
         [](const World& world) {
             const Vector<float, 3> size(40.0F, 20.0F, 0.0F);
             (void)world.background->getPolygon(
                 LabelBackground::RightCenter, size,
                 world.background->getOffset(LabelBackground::RightCenter, size));
         }},
        {"LabelBackground::getIndicatorPolygon",
         [](const World& world) {
             (void)world.background->getIndicatorPolygon(LabelBackground::BottomLeft,
                                                         Vector<float, 3>(40.0F, 20.0F, 0.0F));
         }},
        {"createRoundCornered",
         [](const World& world) {
             (void)SymmetricCornerLabelBackground::createRoundCornered(world.indicator);
         }},
        {"BalloonLabelBackground::buildUnscaledPolygonBackground",
         [](const World& world) { world.balloon->buildUnscaledPolygonBackground(); }},
        {"BalloonLabelBackground::getPolygon",
         [](const World& world) {
             const Vector<float, 3> size(30.0F, 0.0F, 0.0F);
             (void)world.balloon->getPolygon(LabelBackground::TopLeft, size, size);
         }},
    };
    const Operation balloonConstruction{"BalloonLabelBackground construction",
                                        [](const World&) { const BalloonLabelBackground balloon; }};
    for (const Operation& operation : operations) {
        failEveryAllocationOf(operation, existing);
    }
    failEveryAllocationOf(balloonConstruction, existing);
    // Any exception from the middle of the outline's construction, most of it
    // inside the geometry library (curves, polyline), leaves the balloon's
    // constructor as it is: not swallowed, not turned into another.
    failEveryAllocationOf<std::runtime_error>(
        balloonConstruction, existing,
        std::make_exception_ptr(std::runtime_error("curve cannot be approximated")));
}

// A frame of the placer allocates nothing once its buffers have grown to the
// frame's size, appendOutlines and appendTriangles nothing once the caller's
// have; a frame whose allocation fails throws std::bad_alloc and leaves a
// placer without outlines that places the next frame as a fresh one would.
TEST(AllocationFailureTest, PlacerFramesOnceWarmAllocateNothingAndAFailedFrameStartsAfresh) {
    if (!testing::allocationHookIsActive()) {
        GTEST_SKIP() << "the allocation functions of the test are replaced";
    }
    const auto backgrounds = VarnekTesting::makeBackgrounds(300.0F);
    const LabelRect viewport{0.0F, 0.0F, 400.0F, 300.0F};
    // The 3D call: world x and y are view coordinates, a depth image hides
    // a few anchors, a mask keeps a few cells free, labels fade.
    LabelScene scene;
    scene.view = VarnekTesting::flatView(viewport);
    std::vector<float> depths(64, 1.0F);
    std::vector<std::uint8_t> cells(64, 0);
    for (std::size_t i = 0; i < 64; i += 9) {
        depths[i] = 0.0F;
        cells[63 - i] = 1;
    }
    const DepthImage depth{depths.data(), 8, 8, false, 0.0F};
    const CoverageMask mask{cells.data(), 8, 8};
    scene.depth = &depth;
    scene.keepOut = &mask;
    // Callouts with the 3D call and fades only: every part of the frame.
    for (int run = 0; run < 3; ++run) {
        const bool inView = run != 0;
        const bool callouts = run == 2;
        SCOPED_TRACE(inView ? "3D call with fades" : "2D call");
        SCOPED_TRACE(callouts ? "callouts" : "no callouts");
        std::mt19937 random(7);
        std::vector<LabelRequest> frame =
            VarnekTesting::makeRandomScene(random, 160, viewport, backgrounds);
        LabelPlacementOptions options;
        options.viewport = viewport;
        options.effort = 3;
        options.fadeFrames = inView ? 3 : 0;
        options.calloutDistance = callouts ? 40.0F : 0.0F;
        const auto pan = [&frame] {
            for (LabelRequest& label : frame) {
                label.anchor[0] += 0.75F;
            }
        };
        const auto place =
            [&](LabelPlacer& placer,
                const std::vector<LabelRequest>& labels) -> const std::vector<PlacedLabel>& {
            return inView ? placer.place(labels, scene) : placer.place(labels);
        };

        LabelPlacer placer(backgrounds[0], options);
        // The caller's buffers have room for any frame of these labels.
        std::vector<Vector<float, 3>> points;
        std::vector<std::uint32_t> starts;
        std::vector<std::uint32_t> triangles;
        std::vector<Vector<float, 3>> leaders;
        leaders.reserve(std::size_t{2} * 160);
        points.reserve(std::size_t{160} * 64);
        starts.reserve(161);
        triangles.reserve(std::size_t{160} * 3 * 64);
        const auto draw = [&] {
            points.clear();
            starts.clear();
            triangles.clear();
            placer.appendOutlines(points, starts);
            placer.appendTriangles(triangles, 0);
            leaders.clear();
            placer.appendLeaders(leaders);
        };
        for (int warm = 0; warm < 3; ++warm) {
            pan();
            place(placer, frame);
            draw();
        }
        pan();
        armAllocationFailure(0);
        place(placer, frame);
        draw();
        EXPECT_EQ(disarmAllocationFailure().allocations, 0);
        EXPECT_FALSE(triangles.empty());
        EXPECT_EQ(leaders.empty(), !callouts);

        // A larger frame after a smaller one must grow the buffers.
        const std::vector<LabelRequest> smaller(frame.begin(), frame.begin() + 80);
        LabelPlacer first(backgrounds[0], options);
        const std::uint64_t fresh = VarnekTesting::hashOf(place(first, frame));
        LabelPlacer counting(backgrounds[0], options);
        place(counting, smaller);
        armAllocationFailure(0);
        place(counting, frame);
        const long allocations = disarmAllocationFailure().allocations;
        ASSERT_GT(allocations, 0);
        for (long n = 1; n <= allocations; ++n) {
            LabelPlacer failing(backgrounds[0], options);
            place(failing, smaller);
            armAllocationFailure(n);
            EXPECT_THROW(place(failing, frame), std::bad_alloc) << "allocation " << n;
            disarmAllocationFailure();
            // As after forgetHistory, without outlines or leaders.
            std::vector<Vector<float, 3>> left;
            std::vector<std::uint32_t> leftStarts;
            failing.appendOutlines(left, leftStarts);
            failing.appendTriangles(leftStarts, 0);
            failing.appendLeaders(left);
            EXPECT_TRUE(left.empty() && leftStarts == std::vector<std::uint32_t>{0})
                << "allocation " << n;
            EXPECT_EQ(VarnekTesting::hashOf(place(failing, frame)), fresh) << "allocation " << n;
        }
    }
}

}  // namespace
}  // namespace Varnek
