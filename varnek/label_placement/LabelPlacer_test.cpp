#include <varnek/label_placement/LabelPlacer.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <testing/PlacementTesting.h>

namespace Varnek {
namespace {

using RP = LabelBackground::ReferencePoint;
using VarnekTesting::checkGuarantees;
using VarnekTesting::hashOf;
using VarnekTesting::label;
using VarnekTesting::makeBackgrounds;
using VarnekTesting::makePlainRectangle;
using VarnekTesting::makeRandomScene;
using VarnekTesting::placeAndCheck;
using Points = std::vector<Vector<float, 3>>;

const std::vector<RP> s_cornerCandidates = {LabelBackground::TopRight, LabelBackground::TopLeft,
                                            LabelBackground::BottomRight,
                                            LabelBackground::BottomLeft};

const std::vector<RP> s_allCandidates(LabelPlacementOptions::defaultCandidates.begin(),
                                      LabelPlacementOptions::defaultCandidates.end());

// Small scenes of 30 x 7 plain rectangles at the four corners, each with one
// best answer.
struct Scene {
    const char* name;
    LabelRect viewport;
    std::vector<LabelRequest> labels;
    std::vector<bool> visible;
    std::vector<RP> referencePoints;  // of the visible labels
};

TEST(LabelPlacerTest, HandMadeScenesGetTheirBestAnswer) {
    const std::vector<Scene> scenes = {
        {"two neighbours flip apart",
         {0.0f, 0.0f, 200.0f, 200.0f},
         {label(0, 100.0f, 100.0f), label(1, 110.0f, 100.0f)},
         {true, true},
         {LabelBackground::TopRight, LabelBackground::BottomRight}},
        {"at the right edge the label flips left",
         {0.0f, 0.0f, 200.0f, 200.0f},
         {label(0, 190.0f, 100.0f)},
         {true},
         {LabelBackground::TopLeft}},
        {"the higher priority wins whatever the request order",
         {30.0f, 0.0f, 60.0f, 10.0f},
         {label(0, 30.0f, 10.0f, 0.0f), label(1, 30.0f, 10.0f, 5.0f)},
         {false, true},
         {LabelBackground::TopRight, LabelBackground::TopRight}},
        {"no room in the view hides the label",
         {0.0f, 0.0f, 20.0f, 20.0f},
         {label(0, 5.0f, 5.0f)},
         {false},
         {LabelBackground::Center}},
    };
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        LabelPlacementOptions options;
        options.viewport = scene.viewport;
        options.candidates = s_cornerCandidates;
        options.effort = -1;  // as 0: greedy only
        LabelPlacer placer(makePlainRectangle(612.0f), options);
        const std::vector<PlacedLabel>& placed = placer.place(scene.labels);
        ASSERT_EQ(placed.size(), scene.labels.size());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].visible, scene.visible[i]) << "label " << i;
            if (placed[i].visible) {
                EXPECT_EQ(placed[i].referencePoint, scene.referencePoints[i]) << "label " << i;
            } else {
                EXPECT_EQ(placed[i].hiddenReason, LabelHiddenReason::NoRoom);
            }
        }
    }
}

// The camera moves two kept labels together: one keeps its place, the
// other steps back for one call instead of jumping, and comes back in the
// next call (the same frame, placed anew); above the call's lowest
// priority it moves at once.
TEST(LabelPlacerTest, ALabelWhosePlaceIsTakenStepsBackForOneCall) {
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 400.0f, 200.0f};
    options.candidates = s_cornerCandidates;
    LabelPlacer placer(makePlainRectangle(612.0f), options);
    for (const PlacedLabel& placed :
         placer.place({label(0, 100.0f, 100.0f), label(1, 200.0f, 100.0f)})) {
        ASSERT_TRUE(placed.visible);
        ASSERT_EQ(placed.referencePoint, LabelBackground::TopRight);
    }
    const std::vector<LabelRequest> together = {label(0, 100.0f, 100.0f), label(1, 110.0f, 100.0f)};
    const std::vector<PlacedLabel> moved = placer.place(together);
    ASSERT_NE(moved[0].visible, moved[1].visible);
    const std::size_t kept = moved[0].visible ? 0 : 1;
    EXPECT_EQ(moved[kept].referencePoint, LabelBackground::TopRight);
    EXPECT_EQ(moved[1 - kept].hiddenReason, LabelHiddenReason::PlaceTaken);

    const std::vector<PlacedLabel>& back = placer.place(together);
    EXPECT_TRUE(back[0].visible && back[1].visible);
    EXPECT_EQ(back[kept].referencePoint, LabelBackground::TopRight);

    // Above the call's lowest priority (label 2's) the other moves instead.
    LabelPlacer ranked(makePlainRectangle(612.0f), options);
    ranked.place(
        {label(0, 100.0f, 100.0f, 1.0f), label(1, 200.0f, 100.0f, 1.0f), label(2, 300.0f, 150.0f)});
    const std::vector<PlacedLabel>& moves = ranked.place(
        {label(0, 100.0f, 100.0f, 1.0f), label(1, 110.0f, 100.0f, 1.0f), label(2, 300.0f, 150.0f)});
    EXPECT_TRUE(moves[0].visible && moves[1].visible);
}

// Seeded scenes of every background, priority mix, gap, obstacle rule,
// keep-out and callout distance, some requests out of contract (their
// anchors still obstacles, of the lowest priority). Without callouts: every
// guarantee, and the same call repeats bit for bit. With them: every
// guarantee of the labels and of the callouts; the labels next to their
// anchors are those of the placement without callouts, bit for bit; a fresh
// placer, and the 3D call of a view whose world x and y are view
// coordinates, place alike; a call whose requests differ (one more, out of
// contract) keeps a callout where it was while that place stays free. A
// negative or NaN distance shows no callouts; an infinite one, or one
// longer than the view's diagonal (500), is the diagonal. Every scene is
// also placed in other units, scaled by 2^-20, 2^-10, 2^10 and 2^20
// (anchors, sizes, viewport, gap, distance, kept-out rectangles and the
// backgrounds' scale): in the 2D and the 3D call it is placed alike, its
// coordinates (leaders' ends included) exactly scaled.
TEST(LabelPlacerTest, SeededScenesKeepEveryGuaranteeWithAndWithoutCallouts) {
    const LabelRect viewport{0.0f, 0.0f, 400.0f, 300.0f};
    const auto backgrounds = makeBackgrounds(300.0f);
    const float scales[] = {0x1p-20f, 0x1p-10f, 0x1p10f, 0x1p20f};
    std::vector<std::vector<std::shared_ptr<LabelBackground>>> scaledBackgrounds;
    for (const float scale : scales) {
        scaledBackgrounds.push_back(makeBackgrounds(300.0f * scale));
    }
    const auto scaledBy = [](const PlacedLabel& p, float s) {
        PlacedLabel q = p;
        q.offset = {p.offset[0] * s, p.offset[1] * s, p.offset[2]};
        q.bounds = {p.bounds.left * s, p.bounds.top * s, p.bounds.right * s, p.bounds.bottom * s};
        q.anchorInView = {p.anchorInView[0] * s, p.anchorInView[1] * s, p.anchorInView[2]};
        return q;
    };
    const float infinity = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float distances[] = {10.0f, 17.0f,    24.0f, 31.0f, 38.0f,
                               45.0f, infinity, -5.0f, nan,   1e30f};
    LabelScene flat;
    flat.view = VarnekTesting::flatView(viewport);
    std::size_t callouts = 0;
    for (unsigned int seed = 1; seed <= 32; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::vector<LabelRequest> labels =
            makeRandomScene(random, 40 + 6 * seed, viewport, backgrounds);
        // Out of contract: hidden, its anchor still an obstacle.
        for (std::size_t i = 0; i < labels.size(); i += 9) {
            labels[i].size[0] = -1.0f;
        }
        const auto& background = backgrounds[seed % backgrounds.size()];
        LabelPlacementOptions options;
        options.viewport = viewport;
        // A negative or NaN gap is placed as none.
        const float gap =
            seed % 3 == 0 ? 2.0f : (seed % 3 == 1 ? 0.0f : (seed % 2 == 0 ? -3.0f : nan));
        options.gap = gap > 0.0f ? gap : 0.0f;
        options.anchorsAreObstacles = seed % 4 != 1;
        options.lowerPriorityAnchorsAreObstacles = seed % 5 != 2;
        options.effort = static_cast<int>(seed % 4);
        if (seed % 2 == 0) {
            options.keepOut = {{100.0f, 100.0f, 180.0f, 160.0f}};
        }
        LabelPlacementOptions asked = options;
        asked.gap = gap;
        LabelPlacer adjacentPlacer(background, asked);
        const std::vector<PlacedLabel> adjacent = adjacentPlacer.place(labels);
        ASSERT_EQ(checkGuarantees(labels, adjacent, options, background.get(), s_allCandidates),
                  "");
        EXPECT_EQ(hashOf(adjacentPlacer.place(labels)), hashOf(adjacent));

        const float given = distances[seed % 10];
        const float distance = given > 500.0f ? 500.0f : (given > 0.0f ? given : 0.0f);
        options.calloutDistance = given;
        LabelPlacer placer(background, options);
        LabelPlacer inScene(background, options);
        std::vector<PlacedLabel> placed;
        Points leaders;
        ASSERT_EQ(placeAndCheck(placer, labels, background.get(), distance, placed, leaders), "");
        for (std::size_t i = 0; i < labels.size(); ++i) {
            callouts += placed[i].callout ? 1 : 0;
            EXPECT_TRUE(placed[i].callout ? distance > 0.0f && adjacent[i].hiddenReason ==
                                                                   LabelHiddenReason::NoRoom
                                          : hashOf({placed[i]}) == hashOf({adjacent[i]}))
                << i;
        }
        const std::vector<PlacedLabel> inView = inScene.place(labels, flat);
        EXPECT_EQ(hashOf(inView), hashOf(placed));
        for (std::size_t k = 0; k < std::size(scales); ++k) {
            const float s = scales[k];
            SCOPED_TRACE(s);
            LabelPlacementOptions scaled = options;
            scaled.viewport = {0.0f, 0.0f, viewport.right * s, viewport.bottom * s};
            scaled.gap *= s;
            scaled.calloutDistance *= s;
            for (LabelRect& r : scaled.keepOut) {
                r = {r.left * s, r.top * s, r.right * s, r.bottom * s};
            }
            std::vector<LabelRequest> requests = labels;
            for (LabelRequest& request : requests) {
                request.anchor = {request.anchor[0] * s, request.anchor[1] * s, 0.0f};
                request.size = {request.size[0] * s, request.size[1] * s, 0.0f};
                for (std::size_t b = 0; b < backgrounds.size(); ++b) {
                    request.background = request.background == backgrounds[b].get()
                                             ? scaledBackgrounds[k][b].get()
                                             : request.background;
                }
            }
            LabelPlacer flatPlacer(scaledBackgrounds[k][seed % backgrounds.size()], scaled);
            LabelPlacer scenePlacer(scaledBackgrounds[k][seed % backgrounds.size()], scaled);
            LabelScene scaledFlat;
            scaledFlat.view = VarnekTesting::flatView(scaled.viewport);
            const auto expectScaled = [&](const std::vector<PlacedLabel>& got,
                                          const std::vector<PlacedLabel>& unscaled) {
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    const PlacedLabel expected = scaledBy(unscaled[i], s);
                    EXPECT_TRUE(hashOf({got[i]}) == hashOf({expected}) &&
                                VarnekTesting::sameBits(got[i].opacity, expected.opacity) &&
                                VarnekTesting::sameBits(got[i].anchorInView, expected.anchorInView))
                        << i;
                }
            };
            expectScaled(flatPlacer.place(requests), placed);
            expectScaled(scenePlacer.place(requests, scaledFlat), inView);
            Points scaledLeaders;
            flatPlacer.appendLeaders(scaledLeaders);
            ASSERT_EQ(scaledLeaders.size(), leaders.size());
            for (std::size_t p = 0; p < leaders.size(); ++p) {
                EXPECT_TRUE(VarnekTesting::sameBits(
                    scaledLeaders[p], {leaders[p][0] * s, leaders[p][1] * s, leaders[p][2]}));
            }
        }
        options.calloutDistance = distance;
        LabelPlacer resolved(background, options);
        EXPECT_EQ(hashOf(resolved.place(labels)), hashOf(placed));
        std::vector<LabelRequest> moved = labels;
        for (LabelRequest& request : moved) {
            request.anchor[0] = std::fmod(request.anchor[0] + 3.0f, 400.0f);
        }
        EXPECT_EQ(hashOf(inScene.place(moved, flat)), hashOf(resolved.place(moved)));
        // forgetHistory and setOptions leave the outlines as they are; a
        // second call appends after the first.
        Points points;
        std::vector<std::uint32_t> starts;
        resolved.appendOutlines(points, starts);
        resolved.forgetHistory();
        resolved.setOptions(options);
        resolved.appendOutlines(points, starts);
        const std::size_t half = starts.size() / 2;
        for (std::size_t s = 0; s < half; ++s) {
            EXPECT_EQ(starts[half + s], starts[s] + points.size() / 2);
        }
        EXPECT_TRUE(std::equal(points.begin(), points.begin() + starts[half],
                               points.begin() + starts[half]));

        std::vector<LabelRequest> again = labels;
        again.push_back(label(9999, std::numeric_limits<float>::quiet_NaN(), 0.0f));
        std::vector<PlacedLabel> next;
        Points nextLeaders;
        ASSERT_EQ(placeAndCheck(placer, again, background.get(), distance, next, nextLeaders), "");
        for (std::size_t i = 0, leader = 0; i < labels.size(); ++i) {
            if (!placed[i].callout) {
                continue;
            }
            const Vector<float, 3>& from = leaders[leader++];
            const Vector<float, 3>& to = leaders[leader++];
            bool free = next[i].callout;
            for (std::size_t j = 0, other = 0; free && j < labels.size(); ++j) {
                free = j == i || !next[j].visible ||
                       (!VarnekTesting::overlapsWithGap(placed[i].bounds, next[j].bounds,
                                                        options.gap) &&
                        !VarnekTesting::segmentEntersRect(from, to, next[j].bounds));
                free = free && (j == i || !next[j].callout ||
                                !VarnekTesting::segmentsMeet(from, to, nextLeaders[other],
                                                             nextLeaders[other + 1]));
                other += next[j].callout ? 2 : 0;
            }
            EXPECT_TRUE(!free || VarnekTesting::sameBits(next[i].offset, placed[i].offset)) << i;
        }
    }
    EXPECT_GT(callouts, 100u);
}

// A call that repeats the previous one gets its result; one in which a
// request differs in any field (its key and its anchor's z too, and in a
// request inside a run sharing one background and size) is placed anew.
TEST(LabelPlacerTest, ARequestDifferingInAnyFieldIsPlacedAnew) {
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 200.0f, 200.0f};
    options.candidates = s_cornerCandidates;
    const auto plain = makePlainRectangle(200.0f);
    const auto round = makeBackgrounds(200.0f).front();
    LabelPlacer placer(plain, options);
    const std::vector<LabelRequest> base = {label(10, 100.0f, 100.0f), label(11, 100.0f, 100.0f)};
    const std::vector<PlacedLabel> before = placer.place(base);
    ASSERT_EQ(before[0].referencePoint, LabelBackground::TopRight);
    ASSERT_EQ(before[1].referencePoint, LabelBackground::TopLeft);
    const auto placeAfterBase = [&](const std::vector<LabelRequest>& changed) {
        placer.forgetHistory();
        placer.place(base);
        return placer.place(changed);
    };
    const auto second = [&](const std::vector<PlacedLabel>& placed) { return hashOf({placed[1]}); };

    // With the keys swapped, each label keeps the other's place by its key.
    std::vector<LabelRequest> changed = base;
    std::swap(changed[0].key, changed[1].key);
    EXPECT_EQ(placeAfterBase(changed)[1].referencePoint, LabelBackground::TopRight);
    // Two requests with one key: the first keeps the key's place.
    changed = {base[1], base[1]};
    EXPECT_EQ(placeAfterBase(changed)[0].referencePoint, LabelBackground::TopLeft);
    EXPECT_EQ(placer.place(changed)[1].referencePoint, LabelBackground::TopRight);
    changed = base;
    changed[1].anchor[2] = 5.0f;
    EXPECT_EQ(placeAfterBase(changed)[1].anchorInView[2], 5.0f);
    changed = base;
    changed[1].size[0] = 40.0f;
    EXPECT_NE(second(placeAfterBase(changed)), second(before));
    changed = base;
    changed[1].background = round.get();
    EXPECT_NE(second(placeAfterBase(changed)), second(before));
    EXPECT_EQ(hashOf(placeAfterBase(base)), hashOf(before));
}

TEST(LabelPlacerTest, OutOfContractRequestsAreHiddenAsDocumented) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto uninitialized = SymmetricCornerLabelBackground::createRoundCornered(nullptr);
    std::vector<LabelRequest> labels(6, label(0, 100.0f, 100.0f));
    labels[0].anchor[0] = nan;
    labels[1].anchor[1] = inf;
    labels[2].size[0] = -1.0f;
    labels[3].size[1] = nan;
    labels[4].background = uninitialized.get();
    labels[5].anchor = {150.0f, 150.0f, 0.0f};
    const std::vector<LabelHiddenReason> reasons = {LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::OutOfContract,
                                                    LabelHiddenReason::BackgroundNotInitialized,
                                                    LabelHiddenReason::None};

    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, 200.0f, 200.0f};
    LabelPlacer placer(makePlainRectangle(200.0f), options);
    const std::vector<PlacedLabel> placed = placer.place(labels);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(placed[i].hiddenReason, reasons[i]) << "label " << i;
        EXPECT_EQ(placed[i].visible, reasons[i] == LabelHiddenReason::None) << "label " << i;
    }
    EXPECT_EQ(hashOf(placer.place(labels)), hashOf(placed));
    // The same requests with a background in another state (initialised,
    // then with another scale) are placed anew.
    uninitialized->initialize(200.0f);
    const LabelRect bounds = placer.place(labels)[4].bounds;
    EXPECT_EQ(placer.place(labels)[4].hiddenReason, LabelHiddenReason::None);
    uninitialized->initialize(400.0f);
    EXPECT_FALSE(VarnekTesting::sameBits(placer.place(labels)[4].bounds, bounds));

    // An inverted, empty-in-one-axis or NaN viewport hides every label.
    for (const LabelRect viewport :
         {LabelRect{10.0f, 0.0f, 0.0f, 10.0f}, LabelRect{0.0f, 10.0f, 10.0f, 0.0f},
          LabelRect{0.0f, 0.0f, nan, 10.0f}}) {
        options.viewport = viewport;
        placer.setOptions(options);
        for (const PlacedLabel& p : placer.place(labels)) {
            EXPECT_FALSE(p.visible);
        }
        EXPECT_EQ(placer.place(labels)[5].hiddenReason, LabelHiddenReason::OutOfContract);
    }
}

}  // namespace
}  // namespace Varnek
