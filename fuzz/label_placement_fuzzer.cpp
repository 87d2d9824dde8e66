// Builds a scene from the bytes: a viewport (usually sane, sometimes any
// floats), options (candidates of any value, gap, effort, the anchor rule)
// and up to 64 labels (128 in a crowd at one point or on one line) over every kind of background,
// an uninitialised one and none, with anchors, sizes and priorities that are sometimes any float.
// Then places it as three frames of a 3D view (any matrix, a small depth
// image and coverage mask of any size, keep-out rectangles, fades) and
// checks every guarantee of what is drawn (opacities in [0, 1], no two
// drawn labels overlapping, inside the viewport, off what is kept out, none
// drawn anew for a culled anchor), and a fresh placer agreeing bit for bit.
// Places it as two frames (the second moved a little) and checks every
// guarantee of a placement: no overlap, inside the viewport, anchors
// uncovered, bounds holding the outline, priority, bad requests hidden with
// their reason, an unchanged frame answered alike, a fresh placer agreeing
// bit for bit, and outlines matching the visible labels.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::consumeFloatBits;
using namespace Varnek;
using ReferencePoint = LabelBackground::ReferencePoint;

// A value in [low, high] from one byte, or any float now and then.
float consumeCoordinate(FuzzedDataProvider& input, float low, float high) {
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
        return consumeFloatBits(input);
    }
    return low + (high - low) * static_cast<float>(input.ConsumeIntegral<std::uint8_t>()) / 255.0F;
}

std::vector<ReferencePoint> resolveCandidates(const std::vector<ReferencePoint>& given) {
    std::vector<ReferencePoint> resolved;
    if (given.empty()) {
        return {LabelPlacementOptions::defaultCandidates.begin(),
                LabelPlacementOptions::defaultCandidates.end()};
    }
    for (const ReferencePoint r : given) {
        bool repeated = false;
        for (const ReferencePoint s : resolved) {
            repeated = repeated || s == r;
        }
        if (r >= LabelBackground::Center && r <= LabelBackground::BottomRight && !repeated) {
            resolved.push_back(r);
        }
    }
    return resolved;
}

bool isOutOfContract(const LabelRequest& label, const LabelBackground* background) {
    const auto finite = [](const Vector<float, 3>& v) {
        return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
    };
    return background == nullptr || !std::isfinite(label.anchor[0]) ||
           !std::isfinite(label.anchor[1]) || !finite(label.size) || label.size[0] < 0.0F ||
           label.size[1] < 0.0F || label.size[2] < 0.0F || std::isnan(label.priority);
}

void checkFrame(LabelPlacer& placer, const std::vector<LabelRequest>& labels,
                const LabelPlacementOptions& options, const LabelBackground* defaultBackground) {
    const std::vector<PlacedLabel> placed = placer.place(labels);
    const LabelRect& v = options.viewport;
    const bool viewportValid = std::isfinite(v.left) && std::isfinite(v.top) &&
                               std::isfinite(v.right) && std::isfinite(v.bottom) &&
                               v.left <= v.right && v.top <= v.bottom;
    VARNEK_FUZZ_CHECK(placed.size() == labels.size());
    std::size_t visible = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const LabelBackground* background =
            labels[i].background != nullptr ? labels[i].background : defaultBackground;
        LabelHiddenReason expected = LabelHiddenReason::None;
        if (!viewportValid || isOutOfContract(labels[i], background)) {
            expected = LabelHiddenReason::OutOfContract;
        } else if (!background->isInitialized()) {
            expected = LabelHiddenReason::BackgroundNotInitialized;
        }
        if (expected != LabelHiddenReason::None) {
            VARNEK_FUZZ_CHECK(!placed[i].visible && placed[i].hiddenReason == expected);
        }
        VARNEK_FUZZ_CHECK(placed[i].visible == (placed[i].hiddenReason == LabelHiddenReason::None));
        visible += placed[i].visible ? 1 : 0;
    }
    if (viewportValid) {
        VARNEK_FUZZ_CHECK(VarnekTesting::checkGuarantees(labels, placed, options, defaultBackground,
                                                         resolveCandidates(options.candidates))
                              .empty());
        std::vector<Vector<float, 3>> points;
        std::vector<std::uint32_t> starts;
        std::vector<Vector<float, 3>> leaders;
        placer.appendOutlines(points, starts);
        placer.appendLeaders(leaders);
        const double width = static_cast<double>(v.right) - v.left;
        const double height = static_cast<double>(v.bottom) - v.top;
        const float distance =
            options.calloutDistance > 0.0F
                ? std::min(options.calloutDistance,
                           static_cast<float>(std::sqrt(width * width + height * height)))
                : 0.0F;
        VARNEK_FUZZ_CHECK(VarnekTesting::checkOutlinesAndCallouts(labels, placed, defaultBackground,
                                                                  distance, options.gap, points,
                                                                  starts, leaders)
                              .empty());
    }
    // The same frame again answers alike, unless a label stepped back: it
    // comes back in the next call.
    bool steppedBack = false;
    for (const PlacedLabel& label : placed) {
        steppedBack = steppedBack || label.hiddenReason == LabelHiddenReason::PlaceTaken;
    }
    if (!steppedBack) {
        VARNEK_FUZZ_CHECK(VarnekTesting::hashOf(placer.place(labels)) ==
                          VarnekTesting::hashOf(placed));
    }
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    placer.appendOutlines(points, starts);
    VARNEK_FUZZ_CHECK(starts.size() == visible + 1 && starts.back() == points.size());
    std::size_t outline = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!placed[i].visible) {
            continue;
        }
        const LabelRect& b = placed[i].bounds;
        for (std::uint32_t p = starts[outline]; p < starts[outline + 1]; ++p) {
            VARNEK_FUZZ_CHECK(points[p][0] >= b.left && points[p][0] <= b.right &&
                              points[p][1] >= b.top && points[p][1] <= b.bottom &&
                              points[p][2] == 0.0F);
        }
        ++outline;
    }
}

// Three frames of a 3D view of the labels: what is drawn keeps its
// guarantees; the digests of the frames.
std::uint64_t checkViewFrames(FuzzedDataProvider& input, std::vector<LabelRequest> labels,
                              LabelPlacementOptions options,
                              const std::shared_ptr<LabelBackground>& defaultBackground) {
    LabelScene scene;
    for (float& m : scene.view.viewProjection) {
        m = consumeCoordinate(input, -0.02F, 0.02F);
    }
    scene.view.viewProjection[12] = -1.0F;
    scene.view.viewProjection[13] = 1.0F;
    scene.view.viewProjection[15] = consumeCoordinate(input, -0.5F, 2.0F);
    scene.view.viewport = options.viewport;
    scene.view.zeroToOneDepth = input.ConsumeBool();
    std::vector<float> depths(36);
    std::vector<std::uint8_t> cells(36);
    for (std::size_t i = 0; i < depths.size(); ++i) {
        depths[i] = consumeCoordinate(input, 0.0F, 1.0F);
        cells[i] = input.ConsumeIntegralInRange<std::uint8_t>(0, 7) == 0 ? 1 : 0;
    }
    const DepthImage depth{input.ConsumeBool() ? depths.data() : nullptr,
                           input.ConsumeIntegralInRange<int>(-1, 6),
                           input.ConsumeIntegralInRange<int>(-1, 6), input.ConsumeBool(),
                           consumeCoordinate(input, -0.1F, 0.1F)};
    const CoverageMask mask{input.ConsumeBool() ? cells.data() : nullptr,
                            input.ConsumeIntegralInRange<int>(-1, 6),
                            input.ConsumeIntegralInRange<int>(-1, 6)};
    scene.depth = &depth;
    // The mask's cells are read only where width * height of them exist.
    scene.keepOut = mask.width * mask.height <= 36 ? &mask : nullptr;
    const int rectangles = input.ConsumeIntegralInRange<int>(0, 3);
    for (int r = 0; r < rectangles; ++r) {
        const float left = consumeCoordinate(input, -20.0F, 420.0F);
        const float top = consumeCoordinate(input, -20.0F, 320.0F);
        options.keepOut.push_back({left, top, left + consumeCoordinate(input, -5.0F, 80.0F),
                                   top + consumeCoordinate(input, -5.0F, 60.0F)});
    }
    options.fadeFrames = input.ConsumeIntegralInRange<int>(-1, 4);
    LabelPlacer placer(defaultBackground, options);
    std::vector<float> before(labels.size(), 0.0F);
    std::uint64_t digest = 0;
    for (int frame = 0; frame < 3; ++frame) {
        const std::vector<PlacedLabel>& placed = placer.place(labels, scene);
        const VarnekTesting::SceneCheck check{scene.keepOut, &before};
        VARNEK_FUZZ_CHECK(
            VarnekTesting::checkGuarantees(labels, placed, options, defaultBackground.get(),
                                           resolveCandidates(options.candidates), &check)
                .empty());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            before[i] = placed[i].opacity;
        }
        digest = digest * 31 + VarnekTesting::hashOf(placed);
        for (LabelRequest& label : labels) {
            label.anchor[0] += 2.5F;
        }
    }
    return digest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    auto backgrounds = VarnekTesting::makeBackgrounds(consumeCoordinate(input, 1.0F, 1000.0F));
    backgrounds.push_back(SymmetricCornerLabelBackground::createFlatCornered(nullptr));

    LabelPlacementOptions options;
    const float width = consumeCoordinate(input, 0.0F, 400.0F);
    const float height = consumeCoordinate(input, 0.0F, 300.0F);
    options.viewport = {consumeCoordinate(input, -50.0F, 50.0F),
                        consumeCoordinate(input, -50.0F, 50.0F), width, height};
    const int candidateCount = input.ConsumeIntegralInRange<int>(0, 14);
    for (int c = 0; c < candidateCount; ++c) {
        options.candidates.push_back(
            static_cast<ReferencePoint>(input.ConsumeIntegralInRange<int>(-3, 13)));
    }
    options.gap = consumeCoordinate(input, -2.0F, 6.0F);
    options.effort = input.ConsumeIntegralInRange<int>(-1, 5);
    options.anchorsAreObstacles = input.ConsumeBool();
    options.calloutDistance = input.ConsumeBool() ? consumeCoordinate(input, -10.0F, 120.0F) : 0.0F;

    // Now and then a crowd: every anchor at the first one, or on its
    // vertical line, with more labels (a frame's cost must stay about
    // linear in their number). 128 of them already show that; more make one
    // input take seconds under the sanitizers and starve the fuzzing.
    const int layout = input.ConsumeIntegralInRange<int>(0, 7);
    const bool crowded = layout <= 1;
    const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, crowded ? 128 : 64);
    std::vector<LabelRequest> labels(count);
    for (std::size_t i = 0; i < count; ++i) {
        LabelRequest& label = labels[i];
        label.key = input.ConsumeIntegralInRange<std::uint64_t>(0, crowded ? 1000 : 80);
        label.anchor = {consumeCoordinate(input, -60.0F, 460.0F),
                        consumeCoordinate(input, -60.0F, 360.0F), 0.0F};
        if (crowded && i > 0) {
            label.anchor[0] = labels[0].anchor[0];
            label.anchor[1] = layout == 0 ? labels[0].anchor[1] : label.anchor[1];
        }
        label.size = {consumeCoordinate(input, 0.0F, 60.0F), consumeCoordinate(input, 0.0F, 20.0F),
                      0.0F};
        label.priority = consumeCoordinate(input, 0.0F, 3.0F);
        const std::size_t b = input.ConsumeIntegralInRange<std::size_t>(0, backgrounds.size());
        label.background = b < backgrounds.size() ? backgrounds[b].get() : nullptr;
    }
    const std::shared_ptr<LabelBackground> defaultBackground =
        input.ConsumeBool()
            ? backgrounds[input.ConsumeIntegralInRange<std::size_t>(0, backgrounds.size() - 1)]
            : nullptr;

    LabelPlacer placer(defaultBackground, options);
    checkFrame(placer, labels, options, defaultBackground.get());
    const std::vector<PlacedLabel> first = placer.place(labels);
    LabelPlacer fresh(defaultBackground, options);
    VARNEK_FUZZ_CHECK(VarnekTesting::hashOf(fresh.place(labels)) == VarnekTesting::hashOf(first));

    // A second frame, moved a little: the history must not break anything.
    for (LabelRequest& label : labels) {
        label.anchor[0] += 1.5F;
        label.anchor[1] -= 0.5F;
    }
    checkFrame(placer, labels, options, defaultBackground.get());

    // Options read back as they were set; after forgetHistory, and through
    // moves, a placer answers the span form like a fresh placer.
    const LabelPlacementOptions kept = placer.getOptions();
    placer.setOptions(kept);
    VARNEK_FUZZ_CHECK(placer.getOptions().candidates == kept.candidates &&
                      placer.getOptions().effort == kept.effort &&
                      VarnekFuzz::sameBits(placer.getOptions().gap, kept.gap));
    placer.forgetHistory();
    LabelPlacer moved(std::move(placer));
    LabelPlacer assigned(defaultBackground, LabelPlacementOptions{});
    assigned = std::move(moved);
    LabelPlacer another(defaultBackground, options);
    VARNEK_FUZZ_CHECK(VarnekTesting::hashOf(assigned.place(labels.data(), labels.size())) ==
                      VarnekTesting::hashOf(another.place(labels)));

    // The same frames of a 3D view twice, bit for bit.
    const std::size_t rest = input.remaining_bytes();
    const std::vector<std::uint8_t> sceneBytes = input.ConsumeBytes<std::uint8_t>(rest);
    FuzzedDataProvider sceneInput(sceneBytes.data(), sceneBytes.size());
    FuzzedDataProvider againInput(sceneBytes.data(), sceneBytes.size());
    VARNEK_FUZZ_CHECK(checkViewFrames(sceneInput, labels, options, defaultBackground) ==
                      checkViewFrames(againInput, labels, options, defaultBackground));
    return 0;
}
