// The 3D call: projection and culling, the depth test, keep-out and fades.
#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using VarnekTesting::makeBackgrounds;
using VarnekTesting::makeRandomScene;
using Reason = LabelHiddenReason;
using Candidates = std::vector<LabelBackground::ReferencePoint>;

const float s_nan = std::numeric_limits<float>::quiet_NaN();

// A column-major matrix from its nonzero elements.
LabelView viewOf(std::initializer_list<std::pair<int, float>> elements, const LabelRect& viewport,
                 bool zeroToOneDepth = false) {
    LabelView view;
    view.viewProjection = {};
    for (const auto& [index, value] : elements) {
        view.viewProjection[static_cast<std::size_t>(index)] = value;
    }
    view.viewport = viewport;
    view.zeroToOneDepth = zeroToOneDepth;
    return view;
}

// A camera at the origin looking down -z, 90 degrees of view each way,
// near plane at 1, far plane at 3, over a 200 x 100 view.
LabelView perspectiveView(bool zeroToOne) {
    return viewOf({{0, 1.0f},
                   {5, 1.0f},
                   {10, zeroToOne ? -1.5f : -2.0f},
                   {11, -1.0f},
                   {14, zeroToOne ? -1.5f : -3.0f}},
                  {0.0f, 0.0f, 200.0f, 100.0f}, zeroToOne);
}

LabelRequest worldLabel(std::uint64_t key, float x, float y, float z, float priority = 0.0f) {
    LabelRequest request = VarnekTesting::label(key, x, y, priority);
    request.anchor[2] = z;
    request.size = {20.0f, 6.0f, 0.0f};
    return request;
}

LabelPlacer makePlacer(const LabelRect& viewport, float scale, const Candidates& candidates = {},
                       int fadeFrames = 0) {
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.candidates = candidates;
    options.fadeFrames = fadeFrames;
    return LabelPlacer(VarnekTesting::makePlainRectangle(scale), options);
}

TEST(LabelSceneTest, AnchorsProjectAsComputedByHand) {
    struct Case {
        const char* name;
        Vector<float, 3> world;
        Vector<float, 3> inView;  // NaN: behind the camera
        Reason reason;            // None: in view (shown or not for room)
    };
    // Both conventions give the same window depth: (0, 0, -2) lies at 0.75.
    const Vector<float, 3> none{s_nan, s_nan, s_nan};
    const Case cases[] = {
        {"on the near plane", {0.0f, 0.0f, -1.0f}, {100.0f, 50.0f, 0.0f}, Reason::None},
        {"on the far plane", {0.0f, 0.0f, -3.0f}, {100.0f, 50.0f, 1.0f}, Reason::None},
        {"between", {1.0f, 0.0f, -2.0f}, {150.0f, 50.0f, 0.75f}, Reason::None},
        {"on the top right corner", {2.0f, 2.0f, -2.0f}, {200.0f, 0.0f, 0.75f}, Reason::None},
        {"right of the view", {2.5f, 0.0f, -2.0f}, {225.0f, 50.0f, 0.75f}, Reason::OutsideView},
        {"below the view", {0.0f, -3.0f, -2.0f}, {100.0f, 125.0f, 0.75f}, Reason::OutsideView},
        {"in the camera's plane", {0.0f, 0.0f, 0.0f}, none, Reason::BehindCamera},
        {"behind", {1.0f, 1.0f, 1.0f}, none, Reason::BehindCamera},
        {"before the near plane", {0.0f, 0.0f, -0.5f}, none, Reason::BehindCamera},
        {"beyond the far plane", {0.0f, 0.0f, -4.0f}, none, Reason::BehindCamera},
        {"not finite", {s_nan, 0.0f, -2.0f}, none, Reason::OutOfContract},
    };
    for (const bool zeroToOne : {false, true}) {
        LabelScene scene;
        scene.view = perspectiveView(zeroToOne);
        // Every case twice: anchors are projected eight at a time, side by
        // side where the processor has the lanes, and a shorter last block
        // one by one, so that each case meets a lane of a whole block.
        std::vector<LabelRequest> labels;
        for (int copy = 0; copy < 2; ++copy) {
            for (const Case& c : cases) {
                labels.push_back(worldLabel(labels.size(), c.world[0], c.world[1], c.world[2]));
            }
        }
        LabelPlacer placer = makePlacer(scene.view.viewport, 100.0f);
        const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const Case& c = cases[i % std::size(cases)];
            SCOPED_TRACE(::testing::Message() << c.name << ", zero to one " << zeroToOne);
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_TRUE(std::isnan(c.inView[k]) ? std::isnan(placed[i].anchorInView[k])
                                                    : placed[i].anchorInView[k] == c.inView[k]);
            }
            const bool culled = placed[i].hiddenReason >= Reason::BehindCamera ||
                                placed[i].hiddenReason == Reason::OutOfContract;
            EXPECT_TRUE(c.reason == Reason::None ? !culled : placed[i].hiddenReason == c.reason);
            EXPECT_TRUE(c.reason == Reason::None || !placed[i].visible);
            EXPECT_EQ(placed[i].opacity, placed[i].visible ? 1.0f : 0.0f);
            // Hidden: the empty rectangle where the anchor landed.
            const Vector<float, 3>& at = placed[i].anchorInView;
            const LabelRect& b = placed[i].bounds;
            const auto same = [](float a, float e) {
                return std::isnan(e) ? std::isnan(a) : a == e;
            };
            EXPECT_TRUE(placed[i].visible || (placed[i].referencePoint == LabelBackground::Center &&
                                              same(b.left, at[0]) && same(b.right, at[0]) &&
                                              same(b.top, at[1]) && same(b.bottom, at[1])));
        }
    }
}

// A unit sphere at the origin under an orthographic camera looking down
// -z: world x and y in [-2, 2] fill a 400 x 400 view, window depth is
// 0.5 - z / 4 (reversed: 0.5 + z / 4, zero-to-one). Rendered: its depth at
// the centre of every pixel of a width x height image, background far.
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
        // by from its pixel's centre, which lies on the sphere: centre
        // (-0.995, -0.005) at 400 x 400, (-0.98, -0.04) at 100 x 50.
        double silhouetteSlack;
    };
    const Image images[] = {{400, 400, std::sqrt(1.0 - 0.99005) / 4.0},
                            {100, 50, std::sqrt(1.0 - 0.962) / 4.0}};
    // Points of the sphere at |z| >= 0.5: their pixels' centres lie on the
    // sphere, within the tolerance of the front half.
    std::vector<LabelRequest> labels;
    for (int i = 0; i < 200; ++i) {
        const int step = i / 2;
        const double z = (i % 2 == 0 ? 1.0 : -1.0) * (0.5 + 0.005 * step);
        const double radius = std::sqrt(1.0 - z * z);
        labels.push_back(worldLabel(
            static_cast<std::uint64_t>(i), static_cast<float>(radius * std::cos(0.37 * i)),
            static_cast<float>(radius * std::sin(0.37 * i)), static_cast<float>(z)));
    }
    for (const Image& image : images) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << image.width << " x " << image.height << ", reversed " << reversed);
            const std::vector<float> depths = renderSphere(image.width, image.height, reversed);
            DepthImage depth{depths.data(), image.width, image.height, reversed, 0.03f};
            LabelScene scene;
            scene.view = viewOf({{0, 0.5f},
                                 {5, 0.5f},
                                 {10, reversed ? 0.25f : -0.5f},
                                 {14, reversed ? 0.5f : 0.0f},
                                 {15, 1.0f}},
                                {0.0f, 0.0f, 400.0f, 400.0f}, reversed);
            scene.depth = &depth;
            LabelPlacer placer = makePlacer(scene.view.viewport, 400.0f);
            const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const bool back = labels[i].anchor[2] < 0.0f;
                EXPECT_EQ(placed[i].hiddenReason == Reason::Occluded, back) << "point " << i;
                EXPECT_FALSE(placed[i].visible && back);
            }
            // On the silhouette the pixel holds the front surface just
            // nearer: the tolerance decides.
            for (const double factor : {0.9, 1.1}) {
                depth.tolerance = static_cast<float>(image.silhouetteSlack * factor);
                EXPECT_EQ(placer.place({worldLabel(0, -1.0f, 0.0f, 0.0f)}, scene)[0].hiddenReason ==
                              Reason::Occluded,
                          factor < 1.0)
                    << "tolerance " << depth.tolerance;
            }
        }
    }
}

TEST(LabelSceneTest, ScenesHideKeepOutOrAreIgnoredAsDocumented) {
    // Bad scenes hide a label or are ignored as documented.
    const std::vector<float> nan(16, s_nan);
    const std::vector<float> near(16, 0.0f);
    const std::vector<float> level(16, 0.5f);  // the anchor's window depth
    const std::vector<std::uint8_t> full(16, 1);
    const DepthImage images[] = {
        {nan.data(), 4, 4, false, 0.0f},   {nullptr, 4, 4, false, 0.0f},
        {near.data(), 0, 4, false, 0.0f},  {near.data(), 4, -4, false, 0.0f},
        {near.data(), -4, 4, false, 0.0f}, {near.data(), 4, 4, false, 0.0f},
        {near.data(), 4, 4, false, s_nan}, {level.data(), 4, 4, false, -1.0f}};
    const CoverageMask masks[] = {
        {nullptr, 4, 4}, {full.data(), 4, 0}, {full.data(), -4, 4}, {full.data(), 4, 4}};
    const LabelView view = VarnekTesting::flatView({0.0f, 0.0f, 512.0f, 256.0f});
    LabelView nanMatrix = view;
    nanMatrix.viewProjection[5] = s_nan;
    LabelView inverted = view;
    inverted.viewport.right = -1.0f;
    struct Case {
        const char* name;
        const DepthImage* depth;
        const CoverageMask* mask;
        LabelView view;
        Reason expected;  // None: shown
        std::vector<LabelRect> keepOut = {};
    };
    const Case cases[] = {
        {"NaN matrix", nullptr, nullptr, nanMatrix, Reason::BehindCamera},
        {"singular matrix", nullptr, nullptr, viewOf({}, view.viewport), Reason::BehindCamera},
        {"unusable viewport", nullptr, nullptr, inverted, Reason::OutOfContract},
        {"NaN depths", &images[0], nullptr, view, Reason::None},
        {"null depths", &images[1], nullptr, view, Reason::None},
        {"image without columns", &images[2], nullptr, view, Reason::None},
        {"image of negative height", &images[3], nullptr, view, Reason::None},
        {"image of negative width", &images[4], nullptr, view, Reason::None},
        {"image nearer everywhere", &images[5], nullptr, view, Reason::Occluded},
        {"NaN tolerance: none", &images[6], nullptr, view, Reason::Occluded},
        {"negative tolerance: none", &images[7], nullptr, view, Reason::None},
        {"null cells", nullptr, &masks[0], view, Reason::None},
        {"mask without rows", nullptr, &masks[1], view, Reason::None},
        {"mask of negative width", nullptr, &masks[2], view, Reason::None},
        {"mask kept out everywhere", nullptr, &masks[3], view, Reason::NoRoom},
        {"inverted or NaN rectangles kept out",
         nullptr,
         nullptr,
         view,
         Reason::None,
         {{512.0f, 256.0f, 0.0f, 0.0f},
          {0.0f, 256.0f, 512.0f, 0.0f},
          {s_nan, 0.0f, 512.0f, 256.0f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabelPlacer placer = makePlacer(view.viewport, 256.0f);
        LabelPlacementOptions options = placer.getOptions();
        options.keepOut = c.keepOut;
        placer.setOptions(options);
        const PlacedLabel placed =
            placer.place({worldLabel(0, 100.0f, 100.0f, 0.0f)}, {c.view, c.depth, c.mask})[0];
        EXPECT_EQ(placed.hiddenReason, c.expected);
        EXPECT_EQ(placed.visible, c.expected == Reason::None);
    }
    // The pixel an anchor reads: on a shared edge the one to the right and
    // below, on the viewport's right and bottom edges the last one.
    std::vector<float> quarter(8, 1.0f);  // 2 x 2 pixels, and far beyond them
    quarter[3] = 0.0f;                    // the bottom right pixel: near
    const DepthImage corner{quarter.data(), 2, 2, false, 0.0f};
    struct Read {
        float x;
        float y;
        bool occluded;
    };
    for (const Read r : {Read{512.0f, 256.0f, true}, Read{256.0f, 128.0f, true},
                         Read{255.0f, 128.0f, false}, Read{256.0f, 127.0f, false}}) {
        LabelPlacer placer = makePlacer(view.viewport, 256.0f);
        const Reason reason =
            placer.place({worldLabel(0, r.x, r.y, 0.0f)}, {view, &corner, nullptr})[0].hiddenReason;
        EXPECT_EQ(reason == Reason::Occluded, r.occluded) << r.x << ", " << r.y;
    }
    // One set cell of an 8 x 4 mask over the view, [192, 256] x [64, 128]:
    // no label shares an interior point with it, and the 2D call with that
    // rectangle kept out places alike. (Random scenes with many cells and
    // rectangles: the fade test below.)
    std::vector<std::uint8_t> cells(32, 0);
    cells[8 + 3] = 1;
    const CoverageMask oneCell{cells.data(), 8, 4};
    using Place = LabelBackground::ReferencePoint;
    struct KeptOut {
        float x;
        float y;
        bool onlyTopRight;
        Place expected;  // Center: hidden
        float height = 6.0f;
    };
    const KeptOut keptOut[] = {
        {200.0f, 100.0f, true, Place::Center},          // inside the cell
        {255.0f, 100.0f, true, Place::Center},          // overlapping its right edge
        {256.0f, 100.0f, true, Place::TopRight},        // touching it
        {250.0f, 128.0f, false, Place::BottomRight},    // below: first free side
        {200.0f, 100.0f, true, Place::Center, 0.0f},    // of no height, across the cell
        {200.0f, 128.0f, true, Place::TopRight, 0.0f},  // of no height, on its edge
    };
    for (const KeptOut& c : keptOut) {
        SCOPED_TRACE(::testing::Message() << "anchor " << c.x << ", " << c.y);
        LabelPlacer placer = makePlacer(
            view.viewport, 256.0f, c.onlyTopRight ? Candidates{Place::TopRight} : Candidates{});
        std::vector<LabelRequest> labels = {worldLabel(0, c.x, c.y, 0.0f)};
        labels[0].size[1] = c.height;
        const PlacedLabel placed = placer.place(labels, {view, nullptr, &oneCell})[0];
        EXPECT_EQ(placed.visible, c.expected != Place::Center);
        EXPECT_EQ(placed.referencePoint, c.expected);
        LabelPlacementOptions options = placer.getOptions();
        options.keepOut = {{192.0f, 64.0f, 256.0f, 128.0f}};
        EXPECT_EQ(LabelPlacer(VarnekTesting::makePlainRectangle(256.0f), options)
                      .place(labels)[0]
                      .referencePoint,
                  c.expected);
    }
}

TEST(LabelSceneTest, ALabelFadesOverNCallsWhereItIsDrawn) {
    // One label A at (100, 100), frame by frame: v in view, o occluded
    // (a depth image nearer than everything), b in view with a label of
    // higher priority whose anchor lies in A's top right, n with a NaN
    // priority. A fades in and out over n calls, resumes from its opacity,
    // and wherever drawn is drawn at its first place: fading out where it
    // was, saying why it goes, and coming back, still drawn, where it is
    // drawn though its first choice is free now. Out of contract it goes at
    // once.
    struct Case {
        int frames;
        std::string script;
        std::vector<float> opacity;
        LabelBackground::ReferencePoint place;
    };
    const Case cases[] = {
        {4,
         "vvvvvoovooooo",
         {0.25f, 0.5f, 0.75f, 1.0f, 1.0f, 0.75f, 0.5f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f, 0.0f},
         LabelBackground::TopRight},
        {2, "bbov", {0.5f, 1.0f, 0.5f, 1.0f}, LabelBackground::TopLeft},
        {2, "vvnv", {0.5f, 1.0f, 0.0f, 0.5f}, LabelBackground::TopRight},
    };
    const float near = 0.0f;
    const DepthImage occluding{&near, 1, 1, false, 0.0f};
    const LabelRequest a = worldLabel(9, 100.0f, 100.0f, 0.0f);
    const LabelRequest blocker = worldLabel(2, 110.0f, 97.0f, 0.0f, 1.0f);
    for (const Case& c : cases) {
        LabelScene scene;
        scene.view = VarnekTesting::flatView({0.0f, 0.0f, 512.0f, 256.0f});
        LabelPlacer placer = makePlacer(scene.view.viewport, 256.0f, {}, c.frames);
        LabelRect drawnAt{s_nan, s_nan, s_nan, s_nan};
        for (std::size_t f = 0; f < c.script.size(); ++f) {
            SCOPED_TRACE(::testing::Message() << c.script << ", frame " << f);
            scene.depth = c.script[f] == 'o' ? &occluding : nullptr;
            // A comes after the blocker: its fade state follows its key.
            const bool blocked = c.script[f] == 'b';
            LabelRequest requested = a;
            requested.priority = c.script[f] == 'n' ? s_nan : a.priority;
            const PlacedLabel placed =
                placer.place(blocked ? std::vector<LabelRequest>{blocker, requested}
                                     : std::vector<LabelRequest>{requested},
                             scene)[blocked ? 1 : 0];
            EXPECT_EQ(placed.opacity, c.opacity[f]);
            EXPECT_EQ(placed.visible, c.opacity[f] > 0.0f);
            if (placed.visible) {
                EXPECT_EQ(placed.referencePoint, c.place);
                EXPECT_EQ(placed.hiddenReason,
                          c.script[f] == 'o' ? Reason::Occluded : Reason::None);
                EXPECT_TRUE(f == 0 || (placed.bounds.left == drawnAt.left &&
                                       placed.bounds.top == drawnAt.top));
                drawnAt = placed.bounds;
            }
        }
    }
}

// A fades out with its anchor occluded. As it comes back into view with a
// higher priority, the anchor of a label that has no room lies in A's only
// place, where A is drawn. Placed again as a callout, A steps back rather
// than jump and fades on where it is drawn: it does not come back over
// that anchor.
TEST(LabelSceneTest, ALabelComingBackStepsBackFromAnAnchorUnderItsRoom) {
    const float near = 0.0f;
    const DepthImage occluding{&near, 1, 1, false, 0.0f};
    LabelScene scene;
    scene.view = VarnekTesting::flatView({0.0f, 0.0f, 512.0f, 256.0f});
    LabelPlacementOptions options;
    options.viewport = scene.view.viewport;
    options.candidates = {LabelBackground::TopRight};
    options.fadeFrames = 3;
    options.calloutDistance = 60.0f;
    LabelPlacer placer(VarnekTesting::makePlainRectangle(256.0f), options);
    LabelRequest a = worldLabel(9, 100.0f, 100.0f, 0.0f);
    const LabelRequest blocker = worldLabel(2, 110.0f, 97.0f, 0.0f);
    for (int frame = 0; frame < 3; ++frame) {
        placer.place({a}, scene);
    }
    scene.depth = &occluding;
    const PlacedLabel fading = placer.place({a}, scene)[0];
    ASSERT_TRUE(VarnekTesting::holdsStrictly(fading.bounds, blocker.anchor));
    scene.depth = nullptr;
    a.priority = 2.0f;
    const PlacedLabel back = placer.place({blocker, a}, scene)[1];
    EXPECT_EQ(back.opacity, 1.0f / 3.0f);
    EXPECT_EQ(back.hiddenReason, Reason::PlaceTaken);
    EXPECT_TRUE(VarnekTesting::sameBits(back.bounds, fading.bounds));
}

// B steps back and fades out (D, placed where B was, is held back). Then
// A, drawn before, moves onto B's room and goes there only if it leaves B's
// anchor uncovered: a label fading out still keeps labels off its anchor.
// Or B's anchor becomes NaN: B goes at once, out of contract.
TEST(LabelSceneTest, ALabelFadingOutKeepsLabelsOffItsAnchor) {
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 200.0f, 200.0f};
    options.candidates = {LabelBackground::TopRight};
    options.fadeFrames = 3;
    using VarnekTesting::label;
    for (const bool outOfContract : {false, true}) {
        LabelPlacer placer(VarnekTesting::makePlainRectangle(200.0f), options);
        std::vector<LabelRequest> labels = {label(1, 20.0f, 50.0f, 1.0f), label(2, 100.0f, 100.0f)};
        for (int frame = 0; frame < 3; ++frame) {
            placer.place(labels);
        }
        labels.push_back(label(3, 108.0f, 95.0f, 2.0f));
        const PlacedLabel fading = placer.place(labels)[1];
        ASSERT_TRUE(fading.visible && fading.hiddenReason == Reason::PlaceTaken);
        labels[0].anchor = {90.0f, 103.0f, 0.0f};
        labels[1].anchor[0] = outOfContract ? s_nan : labels[1].anchor[0];
        const std::vector<PlacedLabel> placed = placer.place(labels);
        EXPECT_FALSE(placed[0].visible &&
                     VarnekTesting::holdsStrictly(placed[0].bounds, labels[1].anchor));
        EXPECT_TRUE(!outOfContract || placed[1].hiddenReason == Reason::OutOfContract);
    }
}

// Two seeded scenes with fades, a mask and kept-out rectangles. In one,
// labels of one priority whose anchors a changing depth image occludes come
// and go every frame: with no improvement and anchors that are no
// obstacles, every opacity steps by at most 1/n. In the other the labels
// drift, change priority, are occluded too and stand away as callouts (a
// label fading in its room is drawn there even when placed as a callout),
// which fade out with their leaders: a label may move onto a fading label
// or callout, which then goes at once. In both every label drawn steps its
// opacity by 1/n (or stays shown) and keeps every guarantee of the 3D call
// (none drawn anew for an occluded anchor, none over another, a kept-out
// rectangle or a set cell of the mask), and every callout drawn, fading
// ones included, keeps its guarantees with its leader.
TEST(LabelSceneTest, SeededFadingScenesKeepEveryGuarantee) {
    const auto backgrounds = makeBackgrounds(256.0f);
    LabelScene scene;
    scene.view = VarnekTesting::flatView({0.0f, 0.0f, 512.0f, 256.0f});
    const LabelRect viewport = scene.view.viewport;
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.gap = 2.0f;
    options.fadeFrames = 3;
    options.keepOut = {{300.0f, 100.0f, 380.0f, 140.0f}, {400.0f, 0.0f, 512.0f, 40.0f}};
    std::mt19937 cellRandom(11);
    std::vector<std::uint8_t> cells(std::size_t{48} * 24);
    for (std::uint8_t& cell : cells) {
        cell = cellRandom() % 16 == 0 ? 1 : 0;
    }
    const CoverageMask mask{cells.data(), 48, 24};
    scene.keepOut = &mask;
    std::size_t callouts = 0;
    std::size_t fadingCallouts = 0;
    for (const bool moving : {false, true}) {
        options.effort = moving ? 1 : 0;
        options.anchorsAreObstacles = moving;
        options.calloutDistance = moving ? 40.0f : 0.0f;
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
                label.priority = !moving              ? 0.0f
                                 : random() % 20 == 0 ? static_cast<float>(random() % 3)
                                                      : label.priority;
                label.anchor[0] += moving ? (frame < 12 ? 1.5f : -1.0f) : 0.0f;
                // Some drift apart, so that labels and leaders meet.
                label.anchor[1] += moving ? static_cast<float>(label.key % 3) - 1.0f : 0.0f;
            }
            const std::vector<PlacedLabel> placed = placer.place(labels, scene);
            std::vector<Vector<float, 3>> points;
            std::vector<std::uint32_t> starts;
            std::vector<Vector<float, 3>> leaders;
            placer.appendOutlines(points, starts);
            placer.appendLeaders(leaders);
            const VarnekTesting::SceneCheck check{&mask, &before};
            ASSERT_EQ(VarnekTesting::checkGuarantees(labels, placed, options, backgrounds[0].get(),
                                                     {}, &check),
                      "")
                << "frame " << frame;
            ASSERT_EQ(
                VarnekTesting::checkOutlinesAndCallouts(labels, placed, backgrounds[0].get(), 40.0f,
                                                        options.gap, points, starts, leaders),
                "")
                << "frame " << frame;
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const PlacedLabel& p = placed[i];
                SCOPED_TRACE(::testing::Message() << "label " << i << ", frame " << frame);
                ASSERT_TRUE(moving || std::fabs(p.opacity - before[i]) <= 1.0001f / 3.0f)
                    << before[i] << " to " << p.opacity;
                ASSERT_TRUE(!p.visible || (p.opacity == 1.0f && before[i] == 1.0f) ||
                            std::fabs(std::fabs(p.opacity - before[i]) - 1.0f / 3.0f) < 1e-5f)
                    << before[i] << " to " << p.opacity;
                fadingSeen += p.visible && p.hiddenReason == Reason::Occluded ? 1 : 0;
                callouts += p.callout ? 1 : 0;
                fadingCallouts += p.callout && p.hiddenReason != Reason::None ? 1 : 0;
                before[i] = p.opacity;
            }
        }
        EXPECT_TRUE(moving || fadingSeen > 50u);
    }
    EXPECT_GT(callouts, 100u);
    EXPECT_GT(fadingCallouts, 100u);
}

}  // namespace
}  // namespace Varnek
