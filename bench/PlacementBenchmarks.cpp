// The placer measured: time and allocations of a frame at scale, the outline
// buffer against copying its points, the share of labels shown against the
// greedy and annealing baselines, and a camera moving over a fixed world
// (guarantees, jumps, flicker and frame times).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/varnek.h>

#include "AllocationCounter.h"
#include "PlacementBaselines.h"
#include "PlacementInstances.h"
#include "PlacementMeasures.h"
#include "PlacementNames.h"

namespace VarnekBench {
namespace {

using Varnek::LabelPlacer;
using Varnek::LabelRect;
using Varnek::LabelRequest;
using Varnek::PlacedLabel;
using Point = Varnek::Vector<float, 3>;

// The annealing run's length: moves per label over the whole schedule.
constexpr std::size_t s_annealingMovesPerLabel = 2000;

// The smoke run's sizes: every benchmark runs, on fewer instances and frames
// and with a short annealing run, so that allocations and guarantees are
// checked in a few seconds.
bool s_smokeSizes = false;
constexpr std::size_t s_smokeInstances = 1;
constexpr std::size_t s_smokeAnnealingMovesPerLabel = 20;
constexpr std::size_t s_smokeMotionFrames = 30;

// --- Scale -----------------------------------------------------------------

// One call from requests to result with no history: the first frame of a view.
void placeFresh(benchmark::State& state, Layout layout, std::size_t count) {
    const PlacementScene scene = makeScaleScene(layout, count);
    LabelPlacer placer(makePlacementBackground(CandidateSet::P12),
                       placementOptions(scene.viewport, {}, 1, true));
    const std::size_t visible =
        countVisible(placeFreshFramesMeasured(state, placer, scene.requests));
    state.counters[s_shownPercent] = percent(visible, count);
}

// The same requests again with the history of the call before: a still frame.
void placeUnchanged(benchmark::State& state, Layout layout, std::size_t count) {
    const PlacementScene scene = makeScaleScene(layout, count);
    LabelPlacer placer(makePlacementBackground(CandidateSet::P12),
                       placementOptions(scene.viewport, {}, 1, true));
    placer.place(scene.requests);
    placer.place(scene.requests);
    {
        const AllocationMeter meter(state, 0);
        for ([[maybe_unused]] auto _ : state) {
            const std::vector<PlacedLabel>& placed = placer.place(scene.requests);
            benchmark::DoNotOptimize(placed.data());
            benchmark::ClobberMemory();
        }
    }
    state.counters[s_shownPercent] = percent(countVisible(placer.place(scene.requests)), count);
}

// --- Outline buffer --------------------------------------------------------

struct PlacedScene {
    PlacementScene scene;
    LabelPlacer placer;
    std::vector<Point> points;
    std::vector<std::uint32_t> starts;

    explicit PlacedScene(std::size_t count)
        : scene(makeScaleScene(Layout::Uniform, count)),
          placer(makePlacementBackground(CandidateSet::P12),
                 placementOptions(scene.viewport, {}, 1, true)) {
        placer.place(scene.requests);
        placer.appendOutlines(points, starts);
    }
};

// The fill triangles of every visible label's outline into one reused
// buffer.
void appendTriangles(benchmark::State& state, std::size_t count) {
    PlacedScene placed(count);
    std::vector<std::uint32_t> indices;
    placed.placer.appendTriangles(indices, 0);
    state.counters["indices"] = static_cast<double>(indices.size());
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        indices.clear();
        placed.placer.appendTriangles(indices, 0);
        benchmark::DoNotOptimize(indices.data());
        benchmark::ClobberMemory();
    }
}

// Every visible label's outline into one reused buffer.
void appendOutlines(benchmark::State& state, std::size_t count) {
    PlacedScene placed(count);
    state.counters["points"] = static_cast<double>(placed.points.size());
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        placed.points.clear();
        placed.starts.clear();
        placed.placer.appendOutlines(placed.points, placed.starts);
        benchmark::DoNotOptimize(placed.points.data());
        benchmark::DoNotOptimize(placed.starts.data());
        benchmark::ClobberMemory();
    }
}

// The floor of the outline buffer: the same points copied one by one into a
// reserved vector.
void copyOutlinePoints(benchmark::State& state, std::size_t count) {
    const PlacedScene placed(count);
    const std::vector<Point>& source = placed.points;
    std::vector<Point> copy;
    copy.reserve(source.size());
    state.counters["points"] = static_cast<double>(source.size());
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        copy.clear();
        for (const Point& point : source) {
            copy.push_back(point);
        }
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

// --- Quality ---------------------------------------------------------------

// The share of labels shown over the instances, and what the placements break
// (checked outside the timed part). Labels may cover other anchors here, as in
// the classic benchmark, where only labels are obstacles.
void measureQuality(benchmark::State& state, CandidateSet set, std::size_t count,
                    QualityMethod method) {
    const std::size_t instances = s_smokeSizes ? s_smokeInstances : s_randomInstancesPerCount;
    const std::size_t moves =
        s_smokeSizes ? s_smokeAnnealingMovesPerLabel : s_annealingMovesPerLabel;
    std::vector<PlacementScene> scenes;
    for (std::size_t i = 0; i < instances; ++i) {
        scenes.push_back(makeRandomInstance(count, i));
    }
    const std::shared_ptr<Varnek::LabelBackground> background = makePlacementBackground(set);
    const std::vector<Varnek::LabelBackground::ReferencePoint> candidates = candidatesOf(set);
    const std::vector<CandidateBox> boxes =
        candidateBoxes(*background, candidates, Point(s_labelWidth, s_labelHeight, 0.0F));
    const int effort = method == QualityMethod::Effort8 ? 8 : 1;
    LabelPlacer placer(background,
                       placementOptions(scenes.front().viewport, candidates, effort, false));

    std::size_t shown = 0;
    std::size_t violations = 0;
    for ([[maybe_unused]] auto _ : state) {
        shown = 0;
        violations = 0;
        for (std::size_t i = 0; i < scenes.size(); ++i) {
            const PlacementScene& scene = scenes[i];
            PlacementCheck check;
            if (method == QualityMethod::Effort1 || method == QualityMethod::Effort8) {
                placer.forgetHistory();
                const std::vector<PlacedLabel>& placed = placer.place(scene.requests);
                state.PauseTiming();
                check = checkPlacement(scene.viewport, placed);
            } else {
                const ConflictGraph graph(scene, boxes, false);
                const std::vector<int> choices = method == QualityMethod::Greedy
                                                     ? placeGreedy(graph, scene, {})
                                                     : anneal(graph, scene, moves, 0x5EEDULL + i);
                state.PauseTiming();
                check = checkChoices(scene, boxes, choices);
            }
            shown += check.visible;
            violations += check.overlappingPairs + check.outside;
            state.ResumeTiming();
        }
    }
    state.counters[s_shownPercent] = percent(shown, count * instances);
    state.counters[s_instances] = static_cast<double>(instances);
    state.counters[s_violations] = static_cast<double>(violations);
}

// --- Motion ----------------------------------------------------------------

bool holds(const LabelRect& view, const Point& anchor) {
    return anchor[0] >= view.left && anchor[0] <= view.right && anchor[1] >= view.top &&
           anchor[1] <= view.bottom;
}

// The camera path frame after frame through one placer. withHistory false
// forgets the history before every frame: what a placer that ignores its
// history does.
void followCamera(benchmark::State& state, bool withHistory) {
    const std::size_t frameCount = s_smokeSizes ? s_smokeMotionFrames : s_motionFrameCount;
    const CameraPath path(frameCount);
    const LabelRect view = path.viewport();
    std::vector<LabelRequest> requests;
    std::vector<double> frameSeconds(frameCount);
    std::vector<std::uint8_t> wasVisible(CameraPath::s_anchorCount);
    std::vector<std::uint8_t> wasInView(CameraPath::s_anchorCount);
    std::vector<int> referencePoints(CameraPath::s_anchorCount);

    std::size_t overlapsMax = 0;
    std::size_t outsideMax = 0;
    double jumpsMax = 0.0;
    double jumpsSum = 0.0;
    std::size_t flickerMax = 0;
    std::size_t flickerSum = 0;
    double shownSum = 0.0;
    for ([[maybe_unused]] auto _ : state) {
        LabelPlacer placer(makePlacementBackground(CandidateSet::P12),
                           placementOptions(view, {}, 1, true));
        overlapsMax = outsideMax = flickerMax = flickerSum = 0;
        jumpsMax = jumpsSum = shownSum = 0.0;
        for (std::size_t frame = 0; frame < frameCount; ++frame) {
            path.frameRequests(frame, requests);
            if (!withHistory) {
                placer.forgetHistory();
            }
            const double start = threadSeconds();
            const std::vector<PlacedLabel>& placed = placer.place(requests);
            frameSeconds[frame] = threadSeconds() - start;

            const PlacementCheck check = checkPlacement(view, placed);
            overlapsMax = std::max(overlapsMax, check.overlappingPairs);
            outsideMax = std::max(outsideMax, check.outside);
            std::size_t inView = 0;
            std::size_t visibleInBoth = 0;
            std::size_t jumps = 0;
            std::size_t flicker = 0;
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const bool isInView = holds(view, requests[i].anchor);
                const bool visible = placed[i].visible;
                inView += isInView ? 1 : 0;
                if (frame > 0 && visible && wasVisible[i] != 0) {
                    ++visibleInBoth;
                    jumps +=
                        static_cast<int>(placed[i].referencePoint) != referencePoints[i] ? 1 : 0;
                }
                if (frame > 0 && isInView && wasInView[i] != 0 && visible != (wasVisible[i] != 0)) {
                    ++flicker;
                }
                wasVisible[i] = visible ? 1 : 0;
                wasInView[i] = isInView ? 1 : 0;
                referencePoints[i] = static_cast<int>(placed[i].referencePoint);
            }
            shownSum += percent(check.visible, inView);
            if (frame > 0) {
                const double jumpShare = percent(jumps, visibleInBoth);
                jumpsMax = std::max(jumpsMax, jumpShare);
                jumpsSum += jumpShare;
                flickerMax = std::max(flickerMax, flicker);
                flickerSum += flicker;
            }
        }
    }
    std::sort(frameSeconds.begin(), frameSeconds.end());
    const std::size_t p99 = (frameCount * 99 + 99) / 100 - 1;
    const double steps = frameCount > 1 ? static_cast<double>(frameCount - 1) : 1.0;
    state.counters[s_frames] = static_cast<double>(frameCount);
    state.counters[s_overlapsMax] = static_cast<double>(overlapsMax);
    state.counters[s_outsideMax] = static_cast<double>(outsideMax);
    state.counters[s_jumpsMaxPercent] = jumpsMax;
    state.counters[s_jumpsMeanPercent] = jumpsSum / steps;
    state.counters[s_flickerMax] = static_cast<double>(flickerMax);
    state.counters[s_flickerMean] = static_cast<double>(flickerSum) / steps;
    state.counters[s_shownPercent] = shownSum / static_cast<double>(frameCount);
    state.counters[s_frameMedianMs] = 1e3 * frameSeconds[frameCount / 2];
    state.counters[s_frameP99Ms] = 1e3 * frameSeconds[std::min(p99, frameCount - 1)];
}

// The quality and motion benchmarks run once: their outcome is the same
// every time, and the time per instance or frame comes from that pass.
[[maybe_unused]] const bool s_registered = [] {
    constexpr Layout layouts[] = {Layout::Uniform, Layout::Clustered};
    constexpr std::size_t scaleCounts[] = {10000, 100000};
    for (const Layout layout : layouts) {
        for (const std::size_t count : scaleCounts) {
            benchmark::RegisterBenchmark(scaleBenchmarkName(layout, count, "fresh").c_str(),
                                         placeFresh, layout, count)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(scaleBenchmarkName(layout, count, "unchanged").c_str(),
                                         placeUnchanged, layout, count)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark(s_appendOutlines, appendOutlines, std::size_t{10000})
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(s_copyOutlinePoints, copyOutlinePoints, std::size_t{10000})
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(s_appendTriangles, appendTriangles, std::size_t{10000})
        ->Unit(benchmark::kMicrosecond);

    constexpr CandidateSet qualitySets[] = {CandidateSet::P4, CandidateSet::P12};
    constexpr std::size_t qualityCounts[] = {750, 1000, 1500};
    constexpr QualityMethod methods[] = {QualityMethod::Greedy, QualityMethod::Effort1,
                                         QualityMethod::Effort8, QualityMethod::Annealing};
    for (const CandidateSet set : qualitySets) {
        for (const std::size_t count : qualityCounts) {
            for (const QualityMethod method : methods) {
                benchmark::RegisterBenchmark(qualityBenchmarkName(set, count, method).c_str(),
                                             measureQuality, set, count, method)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(1);
            }
        }
    }

    benchmark::RegisterBenchmark(s_motionWithHistory, followCamera, true)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    benchmark::RegisterBenchmark(s_motionWithoutHistory, followCamera, false)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(1);
    return true;
}();

}  // namespace

void usePlacementSmokeSizes(bool smoke) {
    s_smokeSizes = smoke;
}

}  // namespace VarnekBench
