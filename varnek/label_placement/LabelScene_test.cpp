// The 3D call: projection and culling, the depth test, keep-out and fades.
#include <varnek/label_placement/LabelPlacer.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using VarnekTesting::hashOf;
using VarnekTesting::makeBackgrounds;
using VarnekTesting::makeRandomScene;
using Reason = LabelHiddenReason;

const float s_nan = std::numeric_limits<float>::quiet_NaN();

// A camera at the origin looking down -z, 90 degrees of view each way,
// near plane at 1, far plane at 3.
LabelView perspectiveView(bool zeroToOneDepth) {
    LabelView view;
    view.viewProjection = {};
    view.viewProjection[0] = 1.0f;
    view.viewProjection[5] = 1.0f;
    view.viewProjection[10] = zeroToOneDepth ? -1.5f : -2.0f;
    view.viewProjection[11] = -1.0f;
    view.viewProjection[14] = zeroToOneDepth ? -1.5f : -3.0f;
    view.viewport = {0.0f, 0.0f, 200.0f, 100.0f};
    view.zeroToOneDepth = zeroToOneDepth;
    return view;
}

// World x and y are view coordinates in a 512 x 256 view, exactly: a label
// placed in 3D lands where the 2D call puts it.
LabelView identityView() {
    LabelView view;
    view.viewProjection = {};
    view.viewProjection[0] = 1.0f / 256.0f;
    view.viewProjection[12] = -1.0f;
    view.viewProjection[5] = -1.0f / 128.0f;
    view.viewProjection[13] = 1.0f;
    view.viewProjection[15] = 1.0f;
    view.viewport = {0.0f, 0.0f, 512.0f, 256.0f};
    return view;
}

LabelRequest worldLabel(std::uint64_t key, float x, float y, float z, float priority = 0.0f) {
    LabelRequest request{};
    request.key = key;
    request.anchor = {x, y, z};
    request.size = {20.0f, 6.0f, 0.0f};
    request.priority = priority;
    return request;
}

LabelPlacer makePlacer(const LabelRect& viewport, float scale,
                       const std::vector<LabelBackground::ReferencePoint>& candidates = {}) {
    auto background = SymmetricCornerLabelBackground::createSimpleRectangle(nullptr);
    background->initialize(scale);
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.candidates = candidates;
    return LabelPlacer(background, options);
}

bool isCulled(Reason reason) {
    return reason == Reason::BehindCamera || reason == Reason::OutsideView ||
           reason == Reason::Occluded || reason == Reason::OutOfContract;
}

TEST(LabelSceneTest, AnchorsProjectAsComputedByHand) {
    struct Case {
        const char* name;
        Vector<float, 3> world;
        Vector<float, 3> inView;  // NaN: behind the camera
        Reason reason;            // None: in view (shown or not for room)
    };
    // Both conventions give the same window depth: (0, 0, -2) lies at 0.75.
    const std::vector<Case> cases = {
        {"on the near plane", {0.0f, 0.0f, -1.0f}, {100.0f, 50.0f, 0.0f}, Reason::None},
        {"on the far plane", {0.0f, 0.0f, -3.0f}, {100.0f, 50.0f, 1.0f}, Reason::None},
        {"between", {1.0f, 0.0f, -2.0f}, {150.0f, 50.0f, 0.75f}, Reason::None},
        {"on the top right corner", {2.0f, 2.0f, -2.0f}, {200.0f, 0.0f, 0.75f}, Reason::None},
        {"right of the view", {2.5f, 0.0f, -2.0f}, {225.0f, 50.0f, 0.75f}, Reason::OutsideView},
        {"below the view", {0.0f, -3.0f, -2.0f}, {100.0f, 125.0f, 0.75f}, Reason::OutsideView},
        {"in the camera's plane", {0.0f, 0.0f, 0.0f}, {s_nan, s_nan, s_nan}, Reason::BehindCamera},
        {"behind", {1.0f, 1.0f, 1.0f}, {s_nan, s_nan, s_nan}, Reason::BehindCamera},
        {"before the near plane", {0.0f, 0.0f, -0.5f}, {s_nan, s_nan, s_nan}, Reason::BehindCamera},
        {"beyond the far plane", {0.0f, 0.0f, -4.0f}, {s_nan, s_nan, s_nan}, Reason::BehindCamera},
        {"not finite", {s_nan, 0.0f, -2.0f}, {s_nan, s_nan, s_nan}, Reason::OutOfContract},
    };
    for (const bool zeroToOne : {false, true}) {
        LabelScene scene;
        scene.view = perspectiveView(zeroToOne);
        LabelPlacer placer = makePlacer(scene.view.viewport, 100.0f);
        std::vector<LabelRequest> labels;
        labels.reserve(cases.size());
        for (const Case& c : cases) {
            labels.push_back(worldLabel(labels.size(), c.world[0], c.world[1], c.world[2]));
        }
        const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
        ASSERT_EQ(placed.size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << cases[i].name << ", zero to one " << zeroToOne);
            for (std::size_t k = 0; k < 3; ++k) {
                if (std::isnan(cases[i].inView[k])) {
                    EXPECT_TRUE(std::isnan(placed[i].anchorInView[k]));
                } else {
                    EXPECT_EQ(placed[i].anchorInView[k], cases[i].inView[k]);
                }
            }
            if (cases[i].reason == Reason::None) {
                EXPECT_FALSE(isCulled(placed[i].hiddenReason));
            } else {
                EXPECT_EQ(placed[i].hiddenReason, cases[i].reason);
                EXPECT_FALSE(placed[i].visible);
                EXPECT_EQ(placed[i].opacity, 0.0f);
            }
        }
    }
}

TEST(LabelSceneTest, AnchorsInViewArePlacedAsThe2DCallPlacesThem) {
    std::mt19937 random(7);
    const auto backgrounds = makeBackgrounds(256.0f);
    LabelScene scene;
    scene.view = identityView();
    const LabelRect viewport = scene.view.viewport;
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.gap = 1.0f;
    LabelPlacer flat(backgrounds[0], options);
    LabelPlacer inView(backgrounds[0], options);
    std::vector<LabelRequest> labels = makeRandomScene(random, 800, viewport, backgrounds);
    for (int frame = 0; frame < 3; ++frame) {
        // The frames move the labels, so that the history matters.
        for (LabelRequest& label : labels) {
            label.anchor[0] = std::fmod(label.anchor[0] + 3.0f, 512.0f);
        }
        const std::vector<PlacedLabel> expected = flat.place(labels);
        const std::vector<PlacedLabel>& placed = inView.place(labels, scene);
        EXPECT_EQ(hashOf(placed), hashOf(expected));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(placed[i].anchorInView[0], labels[i].anchor[0]);
            EXPECT_EQ(placed[i].opacity, expected[i].visible ? 1.0f : 0.0f);
        }
    }
    // An unusable viewport of the view puts every label out of contract.
    scene.view.viewport.right = -1.0f;
    for (const PlacedLabel& placed : inView.place(labels, scene)) {
        EXPECT_EQ(placed.hiddenReason, Reason::OutOfContract);
    }
}

}  // namespace
}  // namespace Varnek
