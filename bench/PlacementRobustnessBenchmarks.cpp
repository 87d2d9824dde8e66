// The placer where its users meet it off the yardsticks' beaten path: the
// first call of a new placer against a reused one, the growth from 10,000
// to 100,000 plain labels at the classic density, scenes whose anchors
// crowd, every drawn label fading out at once, and the classic instances
// with anchors as obstacles against a plain greedy pass in input order.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <benchmark/benchmark.h>
#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

#include "PlacementBaselines.h"
#include "PlacementInstances.h"
#include "PlacementNames.h"

namespace VarnekBench {
namespace {

using Varnek::LabelPlacementOptions;
using Varnek::LabelPlacer;

bool s_smokeSizes = false;

// --- The first call --------------------------------------------------------

// Gives the memory the heap holds free back to the system, where the C
// library can: the next placer then writes fresh pages, as in a new
// process, instead of those the last one freed.
void returnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// newPlacer: a placer made for the frame, as a one-shot user (the tool) does,
// on memory fresh from the system; reusedPlacer: the same frame through a
// placer that placed it before, its history forgotten.
void placeFirstCall(benchmark::State& state, std::size_t count, bool newPlacer) {
    const PlacementScene scene = makeScaleScene(Layout::Uniform, count);
    const std::shared_ptr<Varnek::LabelBackground> background =
        makePlacementBackground(CandidateSet::P12);
    const LabelPlacementOptions options =
        placementOptions(scene.viewport, candidatesOf(CandidateSet::P12), 1, true);
    LabelPlacer reused(background, options);
    reused.place(scene.requests);
    std::optional<LabelPlacer> placer;
    for ([[maybe_unused]] auto _ : state) {
        if (newPlacer) {
            // The call is timed, not the destructor of the placer before.
            state.PauseTiming();
            placer.reset();
            returnFreeMemory();
            state.ResumeTiming();
            placer.emplace(background, options);
            benchmark::DoNotOptimize(placer->place(scene.requests).data());
        } else {
            reused.forgetHistory();
            benchmark::DoNotOptimize(reused.place(scene.requests).data());
        }
        benchmark::ClobberMemory();
    }
}

// One call without history, through a placer grown to the scene.
void placeWithoutHistory(benchmark::State& state, const PlacementScene& scene, CandidateSet set) {
    LabelPlacer placer(makePlacementBackground(set),
                       placementOptions(scene.viewport, candidatesOf(set), 1, true));
    placer.place(scene.requests);
    for ([[maybe_unused]] auto _ : state) {
        placer.forgetHistory();
        benchmark::DoNotOptimize(placer.place(scene.requests).data());
        benchmark::ClobberMemory();
    }
}

// --- Classic labels at scale -----------------------------------------------

// Plain 30 x 7 rectangles at four corners, at the density of 1000 classic
// labels.
void placeClassicAtScale(benchmark::State& state, std::size_t count) {
    placeWithoutHistory(state, makeScaleScene(Layout::Uniform, count), CandidateSet::P4);
}

// --- Crowded anchors -------------------------------------------------------

void placeCrowded(benchmark::State& state, Crowd crowd, std::size_t count) {
    placeWithoutHistory(state, makeCrowdedScene(crowd, count), CandidateSet::P12);
}

// --- Every label fading at once -------------------------------------------

// The uniform scale scene in a flat 3D view with fades: every label drawn
// in one call is occluded in the next (the model turned in front of all of
// them), so that all of them fade out at once. That call is timed.
void placeAllFadingAtOnce(benchmark::State& state, std::size_t count) {
    const PlacementScene scene = makeScaleScene(Layout::Uniform, count);
    LabelPlacementOptions options =
        placementOptions(scene.viewport, candidatesOf(CandidateSet::P12), 1, true);
    options.fadeFrames = 6;
    LabelPlacer placer(makePlacementBackground(CandidateSet::P12), options);
    // Anchors at depth 0.5: a far image hides none, a near one all.
    const float far = 1.0F;
    const float near = 0.0F;
    Varnek::DepthImage depth{&far, 1, 1};
    Varnek::LabelScene view;
    view.view = VarnekTesting::flatView(scene.viewport);
    view.depth = &depth;
    for ([[maybe_unused]] auto _ : state) {
        state.PauseTiming();
        placer.forgetHistory();
        depth.depths = &far;
        // Until every label shown is drawn whole.
        for (int call = 0; call < options.fadeFrames; ++call) {
            placer.place(scene.requests, view);
        }
        depth.depths = &near;
        state.ResumeTiming();
        benchmark::DoNotOptimize(placer.place(scene.requests, view).data());
        benchmark::ClobberMemory();
    }
}

// --- Anchors as obstacles --------------------------------------------------

// The classic instances (P4) with anchors as obstacles: the share shown at
// the default effort and at effort 8, against a plain greedy pass in input
// order, instance by instance.
void measureQualityWithAnchors(benchmark::State& state, std::size_t count) {
    const std::size_t instances = s_smokeSizes ? 1 : s_randomInstancesPerCount;
    std::vector<PlacementScene> scenes;
    for (std::size_t i = 0; i < instances; ++i) {
        scenes.push_back(makeRandomInstance(count, i));
    }
    const std::shared_ptr<Varnek::LabelBackground> background =
        makePlacementBackground(CandidateSet::P4);
    const std::vector<CandidateBox> boxes =
        candidateBoxes(*background, candidatesOf(CandidateSet::P4),
                       Varnek::Vector<float, 3>(s_labelWidth, s_labelHeight, 0.0F));
    LabelPlacer placer(background, placementOptions(scenes.front().viewport,
                                                    candidatesOf(CandidateSet::P4), 1, true));
    LabelPlacer thorough(background, placementOptions(scenes.front().viewport,
                                                      candidatesOf(CandidateSet::P4), 8, true));
    std::size_t shown = 0;
    std::size_t shownThorough = 0;
    std::size_t shownGreedy = 0;
    std::size_t fewerThanGreedy = 0;
    for ([[maybe_unused]] auto _ : state) {
        shown = shownThorough = shownGreedy = fewerThanGreedy = 0;
        for (const PlacementScene& scene : scenes) {
            placer.forgetHistory();
            const std::size_t byPlacer = countVisible(placer.place(scene.requests));
            state.PauseTiming();
            thorough.forgetHistory();
            shownThorough += countVisible(thorough.place(scene.requests));
            const ConflictGraph graph(scene, boxes, true);
            const std::size_t byGreedy = countShown(placeGreedy(graph, scene, {}));
            shown += byPlacer;
            shownGreedy += byGreedy;
            fewerThanGreedy += byPlacer < byGreedy ? 1 : 0;
            state.ResumeTiming();
        }
    }
    const auto share = [&](std::size_t part) {
        return 100.0 * static_cast<double>(part) / static_cast<double>(count * instances);
    };
    state.counters[s_shownPercent] = share(shown);
    state.counters[s_effort8ShownPercent] = share(shownThorough);
    state.counters[s_greedyShownPercent] = share(shownGreedy);
    state.counters[s_fewerThanGreedy] = static_cast<double>(fewerThanGreedy);
    state.counters[s_instances] = static_cast<double>(instances);
}

[[maybe_unused]] const bool s_registered = [] {
    for (const std::size_t count : s_firstCallCounts) {
        for (const bool newPlacer : {true, false}) {
            benchmark::RegisterBenchmark(firstCallBenchmarkName(count, newPlacer).c_str(),
                                         placeFirstCall, count, newPlacer)
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (const std::size_t count : {std::size_t{10000}, std::size_t{100000}}) {
        benchmark::RegisterBenchmark(classicScaleBenchmarkName(count).c_str(), placeClassicAtScale,
                                     count)
            ->Unit(benchmark::kMillisecond);
    }
    for (const Crowd crowd : s_crowds) {
        benchmark::RegisterBenchmark(crowdBenchmarkName(crowd).c_str(), placeCrowded, crowd,
                                     s_crowdLabelCount)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(allFadingBenchmarkName().c_str(), placeAllFadingAtOnce,
                                 s_crowdLabelCount)
        ->Unit(benchmark::kMillisecond);
    for (const std::size_t count : s_qualityWithAnchorsCounts) {
        benchmark::RegisterBenchmark(qualityWithAnchorsBenchmarkName(count).c_str(),
                                     measureQualityWithAnchors, count)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(1);
    }
    return true;
}();

}  // namespace

void usePlacementRobustnessSmokeSizes(bool smoke) {
    s_smokeSizes = smoke;
}

}  // namespace VarnekBench
