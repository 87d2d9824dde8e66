// The 3D call: projection and culling, the depth test, keep-out and fades.
#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
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

// Options over identityView's viewport.
LabelPlacementOptions identityViewOptions(float gap) {
    LabelPlacementOptions options;
    options.viewport = identityView().viewport;
    options.gap = gap;
    return options;
}

TEST(LabelSceneTest, AnchorsInViewArePlacedAsThe2DCallPlacesThem) {
    std::mt19937 random(7);
    const auto backgrounds = makeBackgrounds(256.0f);
    LabelScene scene;
    scene.view = identityView();
    const LabelRect viewport = scene.view.viewport;
    const LabelPlacementOptions options = identityViewOptions(1.0f);
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

// A unit sphere at the origin under an orthographic camera looking down
// -z: world x and y in [-2, 2] fill a 400 x 400 view, window depth is
// 0.5 - z / 4 (reversed: 0.5 + z / 4, zero-to-one).
LabelView sphereView(bool reversed) {
    LabelView view;
    view.viewProjection = {};
    view.viewProjection[0] = 0.5f;
    view.viewProjection[5] = 0.5f;
    view.viewProjection[10] = reversed ? 0.25f : -0.5f;
    view.viewProjection[14] = reversed ? 0.5f : 0.0f;
    view.viewProjection[15] = 1.0f;
    view.viewport = {0.0f, 0.0f, 400.0f, 400.0f};
    view.zeroToOneDepth = reversed;
    return view;
}

// The sphere's depth at the centre of every pixel of a width x height image
// spanning that view; background far.
std::vector<float> renderSphere(int width, int height, bool reversed) {
    std::vector<float> depths;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double x = -2.0 + 4.0 * (column + 0.5) / width;
            const double y = 2.0 - 4.0 * (row + 0.5) / height;
            const double r = x * x + y * y;
            const double depth = r < 1.0 ? 0.5 - std::sqrt(1.0 - r) / 4.0 : 1.0;
            depths.push_back(static_cast<float>(reversed ? 1.0 - depth : depth));
        }
    }
    return depths;
}

TEST(LabelSceneTest, TheDepthImageHidesTheSpheresBackHalf) {
    struct Image {
        int width;
        int height;
        // The depth the silhouette anchor (-1, 0, 0) at depth 0.5 differs
        // by from its pixel's centre, which lies on the sphere.
        double silhouetteSlack;
    };
    // Pixel of (-1, 0): centre (-0.995, -0.005) at 400 x 400, (-0.98, -0.04)
    // at 100 x 50.
    const std::vector<Image> images = {{400, 400, std::sqrt(1.0 - 0.99005) / 4.0},
                                       {100, 50, std::sqrt(1.0 - 0.962) / 4.0}};
    for (const Image& image : images) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << image.width << " x " << image.height << ", reversed " << reversed);
            const std::vector<float> depths = renderSphere(image.width, image.height, reversed);
            DepthImage depth{depths.data(), image.width, image.height, reversed, 0.03f};
            LabelScene scene;
            scene.view = sphereView(reversed);
            scene.depth = &depth;
            LabelPlacer placer = makePlacer(scene.view.viewport, 400.0f);
            // Points of the sphere at |z| >= 0.5: their pixels' centres lie on
            // the sphere, within the tolerance of the front half.
            std::vector<LabelRequest> labels;
            for (int i = 0; i < 200; ++i) {
                const int step = i / 2;
                const double z = (i % 2 == 0 ? 1.0 : -1.0) * (0.5 + 0.005 * step);
                const double angle = 0.37 * i;
                const double radius = std::sqrt(1.0 - z * z);
                labels.push_back(worldLabel(
                    static_cast<std::uint64_t>(i), static_cast<float>(radius * std::cos(angle)),
                    static_cast<float>(radius * std::sin(angle)), static_cast<float>(z)));
            }
            const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
            for (std::size_t i = 0; i < labels.size(); ++i) {
                EXPECT_EQ(placed[i].hiddenReason == Reason::Occluded, labels[i].anchor[2] < 0.0f)
                    << "point " << i;
                EXPECT_FALSE(placed[i].visible && labels[i].anchor[2] < 0.0f);
            }
            // On the silhouette the pixel holds the front surface just
            // nearer: the tolerance decides.
            const std::vector<LabelRequest> silhouette = {worldLabel(0, -1.0f, 0.0f, 0.0f)};
            for (const double factor : {0.9, 1.1}) {
                depth.tolerance = static_cast<float>(image.silhouetteSlack * factor);
                EXPECT_EQ(placer.place(silhouette, scene)[0].hiddenReason == Reason::Occluded,
                          factor < 1.0)
                    << "tolerance " << depth.tolerance;
            }
        }
    }
}

// Whether rect shares an interior point with a nonzero cell of mask over
// viewport.
bool coversCell(const LabelRect& rect, const CoverageMask& mask, const LabelRect& viewport) {
    const float cellWidth = (viewport.right - viewport.left) / static_cast<float>(mask.width);
    const float cellHeight = (viewport.bottom - viewport.top) / static_cast<float>(mask.height);
    for (int row = 0; row < mask.height; ++row) {
        for (int column = 0; column < mask.width; ++column) {
            const LabelRect cell{viewport.left + cellWidth * static_cast<float>(column),
                                 viewport.top + cellHeight * static_cast<float>(row),
                                 viewport.left + cellWidth * static_cast<float>(column + 1),
                                 viewport.top + cellHeight * static_cast<float>(row + 1)};
            if (mask.cells[row * mask.width + column] != 0 &&
                VarnekTesting::overlapsWithGap(rect, cell, 0.0f)) {
                return true;
            }
        }
    }
    return false;
}

TEST(LabelSceneTest, KeptOutRectanglesAndCellsStayFree) {
    // One set cell of an 8 x 4 mask over 512 x 256 in the 3D call, the same
    // rectangle, [192, 256] x [64, 128], kept out in the 2D call. (Random
    // scenes with many cells and rectangles: the fade test below.)
    std::vector<std::uint8_t> cells(32, 0);
    cells[8 + 3] = 1;
    const CoverageMask mask{cells.data(), 8, 4};
    LabelScene scene;
    scene.view = identityView();
    scene.keepOut = &mask;
    const std::vector<LabelBackground::ReferencePoint> topRight = {LabelBackground::TopRight};
    struct Case {
        float x;
        float y;
        bool onlyTopRight;
        LabelBackground::ReferencePoint expected;  // Center: hidden
    };
    const std::vector<Case> cases = {
        {200.0f, 100.0f, true, LabelBackground::Center},        // inside the cell
        {255.0f, 100.0f, true, LabelBackground::Center},        // overlapping its right edge
        {256.0f, 100.0f, true, LabelBackground::TopRight},      // touching it
        {250.0f, 128.0f, false, LabelBackground::BottomRight},  // below: first free side
        {100.0f, 100.0f, true, LabelBackground::TopRight},      // far from it
    };
    for (const Case& c : cases) {
        for (const bool inView : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << "anchor " << c.x << ", " << c.y << ", 3D call " << inView);
            LabelPlacer placer = makePlacer(
                scene.view.viewport, 256.0f,
                c.onlyTopRight ? topRight : std::vector<LabelBackground::ReferencePoint>{});
            if (!inView) {
                LabelPlacementOptions options = placer.getOptions();
                options.keepOut = {{192.0f, 64.0f, 256.0f, 128.0f}};
                placer.setOptions(options);
            }
            const std::vector<LabelRequest> labels = {worldLabel(0, c.x, c.y, 0.0f)};
            const PlacedLabel placed =
                inView ? placer.place(labels, scene)[0] : placer.place(labels)[0];
            EXPECT_EQ(placed.visible, c.expected != LabelBackground::Center);
            EXPECT_EQ(placed.referencePoint, c.expected);
        }
    }
}

TEST(LabelSceneTest, AnchorsOfLowerPriorityMayBeCovered) {
    // A dense cluster: with every anchor an obstacle, the anchors of labels
    // that lose anyway keep labels of higher priority off the view.
    std::mt19937 random(5);
    const auto backgrounds = makeBackgrounds(300.0f);
    const LabelRect viewport{0.0f, 0.0f, 300.0f, 200.0f};
    const std::vector<LabelRequest> labels = makeRandomScene(random, 1500, viewport, backgrounds);
    std::size_t shownTop[2] = {0, 0};
    for (const bool lower : {true, false}) {
        LabelPlacementOptions options;
        options.viewport = viewport;
        options.lowerPriorityAnchorsAreObstacles = lower;
        LabelPlacer placer(backgrounds[0], options);
        const std::vector<PlacedLabel>& placed = placer.place(labels);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            shownTop[lower ? 0 : 1] += placed[i].visible && labels[i].priority == 2.0f ? 1 : 0;
            for (std::size_t j = 0; placed[i].visible && j < labels.size(); ++j) {
                const bool mustStayFree = lower || labels[j].priority >= labels[i].priority;
                EXPECT_FALSE(j != i && mustStayFree &&
                             VarnekTesting::holdsStrictly(placed[i].bounds, labels[j].anchor))
                    << "label " << i << " covers the anchor of " << j;
            }
        }
    }
    EXPECT_GT(shownTop[1], shownTop[0] + shownTop[0] / 10);
}

TEST(LabelSceneTest, BadScenesHideOrAreIgnoredAsDocumented) {
    const std::vector<float> nanDepths(16, s_nan);
    const std::vector<float> nearDepths(16, 0.0f);
    const std::vector<std::uint8_t> fullMask(16, 1);
    const DepthImage nanImage{nanDepths.data(), 4, 4, false, 0.0f};
    const DepthImage nullImage{nullptr, 4, 4, false, 0.0f};
    const DepthImage emptyImage{nearDepths.data(), 0, 4, false, 0.0f};
    const DepthImage negativeImage{nearDepths.data(), 4, -4, false, 0.0f};
    const DepthImage nearImage{nearDepths.data(), 4, 4, false, 0.0f};
    const CoverageMask nullMask{nullptr, 4, 4};
    const CoverageMask emptyMask{fullMask.data(), 4, 0};
    const CoverageMask negativeMask{fullMask.data(), -4, 4};
    const CoverageMask filledMask{fullMask.data(), 4, 4};
    LabelView nanMatrix = identityView();
    nanMatrix.viewProjection[5] = s_nan;
    LabelView zeroMatrix = identityView();
    zeroMatrix.viewProjection = {};
    struct Case {
        const char* name;
        LabelView view;
        const DepthImage* depth;
        const CoverageMask* mask;
        Reason expected;  // None: shown
    };
    const std::vector<Case> cases = {
        {"NaN matrix", nanMatrix, nullptr, nullptr, Reason::BehindCamera},
        {"singular matrix", zeroMatrix, nullptr, nullptr, Reason::BehindCamera},
        {"NaN depths", identityView(), &nanImage, nullptr, Reason::None},
        {"null depths", identityView(), &nullImage, nullptr, Reason::None},
        {"image without columns", identityView(), &emptyImage, nullptr, Reason::None},
        {"image of negative height", identityView(), &negativeImage, nullptr, Reason::None},
        {"image nearer everywhere", identityView(), &nearImage, nullptr, Reason::Occluded},
        {"null cells", identityView(), nullptr, &nullMask, Reason::None},
        {"mask without rows", identityView(), nullptr, &emptyMask, Reason::None},
        {"mask of negative width", identityView(), nullptr, &negativeMask, Reason::None},
        {"mask kept out everywhere", identityView(), nullptr, &filledMask, Reason::NoRoom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabelScene scene{c.view, c.depth, c.mask};
        LabelPlacer placer = makePlacer(identityView().viewport, 256.0f);
        const PlacedLabel placed = placer.place({worldLabel(0, 100.0f, 100.0f, 0.0f)}, scene)[0];
        EXPECT_EQ(placed.hiddenReason, c.expected);
        EXPECT_EQ(placed.visible, c.expected == Reason::None);
    }
}

TEST(LabelSceneTest, ALabelFadesOverNCallsWhereItIsDrawn) {
    // One label A at (100, 100), frame by frame: v in view, o occluded
    // (a depth image nearer than everything), b in view with a label of
    // higher priority whose anchor lies in A's top right. A fades in and
    // out over n calls, resumes from its opacity, and wherever drawn is
    // drawn at its first place: fading out where it was, saying why it
    // goes, and coming back, still drawn, where it is drawn though its
    // first choice is free now.
    struct Case {
        int frames;
        std::string script;
        std::vector<float> opacity;
        LabelBackground::ReferencePoint place;
    };
    const std::vector<Case> cases = {
        {4,
         "vvvvvoovooooo",
         {0.25f, 0.5f, 0.75f, 1.0f, 1.0f, 0.75f, 0.5f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f, 0.0f},
         LabelBackground::TopRight},
        {2, "bbov", {0.5f, 1.0f, 0.5f, 1.0f}, LabelBackground::TopLeft},
    };
    const std::vector<float> near(1, 0.0f);
    const DepthImage occluding{near.data(), 1, 1, false, 0.0f};
    const LabelRequest a = worldLabel(9, 100.0f, 100.0f, 0.0f);
    const LabelRequest blocker = worldLabel(2, 110.0f, 97.0f, 0.0f, 1.0f);
    for (const Case& c : cases) {
        LabelScene scene;
        scene.view = identityView();
        LabelPlacer placer = makePlacer(scene.view.viewport, 256.0f);
        LabelPlacementOptions options = placer.getOptions();
        options.fadeFrames = c.frames;
        placer.setOptions(options);
        LabelRect drawnAt{s_nan, s_nan, s_nan, s_nan};
        for (std::size_t f = 0; f < c.script.size(); ++f) {
            SCOPED_TRACE(::testing::Message() << c.script << ", frame " << f);
            scene.depth = c.script[f] == 'o' ? &occluding : nullptr;
            // A comes after the blocker: its fade state follows its key.
            const bool blocked = c.script[f] == 'b';
            const std::vector<LabelRequest> labels =
                blocked ? std::vector<LabelRequest>{blocker, a} : std::vector<LabelRequest>{a};
            const PlacedLabel placed = placer.place(labels, scene)[blocked ? 1 : 0];
            EXPECT_EQ(placed.opacity, c.opacity[f]);
            EXPECT_EQ(placed.visible, c.opacity[f] > 0.0f);
            if (!placed.visible) {
                continue;
            }
            EXPECT_EQ(placed.referencePoint, c.place);
            EXPECT_EQ(placed.hiddenReason, c.script[f] == 'o' ? Reason::Occluded : Reason::None);
            if (f > 0) {
                EXPECT_EQ(placed.bounds.left, drawnAt.left);
                EXPECT_EQ(placed.bounds.top, drawnAt.top);
            }
            drawnAt = placed.bounds;
        }
    }
}

// A digest of a result with its opacities.
std::uint64_t hashWithOpacity(const std::vector<PlacedLabel>& placed) {
    std::uint64_t hash = hashOf(placed);
    for (const PlacedLabel& p : placed) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &p.opacity, sizeof bits);
        hash = (hash ^ bits) * 1099511628211ull;
    }
    return hash;
}

TEST(LabelSceneTest, FadingLabelsKeepTheirRoomAndStepByOneNth) {
    // Labels whose anchors a changing depth image occludes come and go
    // every frame. With one priority, no improvement and anchors that are
    // no obstacles, labels drawn before keep their places, and every
    // opacity steps by at most 1/n; with changing priorities a label may
    // move onto a fading one, which then goes at once. No drawn label
    // overlaps another, a kept-out rectangle or a set cell of the mask.
    const auto backgrounds = makeBackgrounds(256.0f);
    LabelScene scene;
    scene.view = identityView();
    const LabelRect viewport = scene.view.viewport;
    LabelPlacementOptions options = identityViewOptions(2.0f);
    options.fadeFrames = 3;
    options.keepOut = {{300.0f, 100.0f, 380.0f, 140.0f}, {400.0f, 0.0f, 512.0f, 40.0f}};
    std::mt19937 cellRandom(11);
    std::vector<std::uint8_t> cells(std::size_t{48} * 24);
    for (std::uint8_t& cell : cells) {
        cell = cellRandom() % 16 == 0 ? 1 : 0;
    }
    const CoverageMask mask{cells.data(), 48, 24};
    scene.keepOut = &mask;
    const float step = 1.0f / 3.0f;
    for (const bool priorities : {false, true}) {
        std::uint64_t hashes[2] = {0, 0};
        options.effort = priorities ? 1 : 0;
        options.anchorsAreObstacles = priorities;
        for (std::uint64_t& hash : hashes) {
            std::mt19937 random(3);
            std::vector<LabelRequest> labels = makeRandomScene(random, 700, viewport, backgrounds);
            LabelPlacer placer(backgrounds[0], options);
            std::vector<float> before(labels.size(), 0.0f);
            std::vector<float> depths(32);
            const DepthImage depth{depths.data(), 8, 4, false, 0.0f};
            scene.depth = &depth;
            std::size_t fadingSeen = 0;
            for (int frame = 0; frame < 25; ++frame) {
                for (float& d : depths) {
                    d = random() % 5 == 0 ? 0.0f : 1.0f;
                }
                // Now and then the same requests in another order: the fade
                // state follows the keys.
                if (frame % 5 == 4) {
                    std::rotate(labels.begin(), labels.begin() + 1, labels.end());
                    std::rotate(before.begin(), before.begin() + 1, before.end());
                }
                for (LabelRequest& label : labels) {
                    label.priority = !priorities          ? 0.0f
                                     : random() % 20 == 0 ? static_cast<float>(random() % 3)
                                                          : label.priority;
                }
                const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
                hash = hash * 31 + hashWithOpacity(placed);
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    const PlacedLabel& p = placed[i];
                    ASSERT_GE(p.opacity, 0.0f);
                    ASSERT_LE(p.opacity, 1.0f);
                    ASSERT_EQ(p.visible, p.opacity > 0.0f) << i;
                    ASSERT_TRUE(priorities || std::fabs(p.opacity - before[i]) <= step * 1.0001f)
                        << "label " << i << " frame " << frame << " was " << before[i] << " now "
                        << p.opacity << " reason " << int(p.hiddenReason);
                    if (p.hiddenReason == Reason::Occluded && p.visible) {
                        ASSERT_LT(p.opacity, before[i]) << "drawn anew for an occluded anchor";
                        ++fadingSeen;
                    }
                    before[i] = p.opacity;
                    if (!p.visible) {
                        continue;
                    }
                    ASSERT_TRUE(VarnekTesting::isInside(p.bounds, viewport));
                    for (const LabelRect& out : options.keepOut) {
                        ASSERT_FALSE(VarnekTesting::overlapsWithGap(p.bounds, out, 0.0f));
                    }
                    ASSERT_FALSE(coversCell(p.bounds, mask, viewport)) << i;
                    for (std::size_t j = i + 1; j < labels.size(); ++j) {
                        ASSERT_FALSE(
                            placed[j].visible &&
                            VarnekTesting::overlapsWithGap(p.bounds, placed[j].bounds, options.gap))
                            << "labels " << i << " and " << j << " overlap in frame " << frame;
                    }
                }
            }
            EXPECT_GT(fadingSeen, 50u);
        }
        EXPECT_EQ(hashes[0], hashes[1]);
    }
}

}  // namespace
}  // namespace Varnek
