// Callouts measured: on the classic random instances (P12, anchors as
// obstacles, the placer's default: a leader cannot start inside another
// label, so with labels free to cover anchors few could get one) the share shown
// with callouts at 3, 6 and 12 label heights against none, with the mean
// leader length and the time; a frame of 10,000 labels with and without
// callouts; the camera path with callouts on, without and with fades
// (overlaps, crossing leaders, jumps, flicker). Every result is checked outside the timed part:
// overlapping labels, labels outside the view, leaders crossing, leaders through other labels or
// over other anchors.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

#include "CalloutBaseline.h"
#include "PlacementBaselines.h"
#include "PlacementInstances.h"
#include "PlacementMeasures.h"
#include "PlacementNames.h"
#include "SummaryReporter.h"

namespace VarnekBench {
namespace {

using Varnek::LabelPlacer;
using Varnek::LabelRect;
using Varnek::LabelRequest;
using Varnek::PlacedLabel;
using Point = Varnek::Vector<float, 3>;

constexpr std::size_t s_qualityCounts[] = {750, 1000, 1500};
// Callout distances in label heights; 0 is none.
constexpr int s_distances[] = {0, 3, 6, 12};
constexpr std::size_t s_scaleCount = 10000;
constexpr int s_scaleDistance = 6;

// Targets (see docs/placement.md): percentage points shown more than
// without callouts at 6 label heights, and the time of a frame with them.
constexpr double s_gainTarget1000 = 30.0;
constexpr double s_gainTarget1500 = 28.0;
constexpr double s_timeRatioTarget = 2.0;

constexpr const char* s_calloutPercent = "callout_pct";
constexpr const char* s_leaderMean = "leader_mean";
constexpr const char* s_crossingsMax = "crossings_max";
constexpr const char* s_leaderFaults = "leader_faults";

bool s_smoke = false;

std::string qualityName(std::size_t count, int heights) {
    return "Placement/Callouts/P12/" + std::to_string(count) + "/d" + std::to_string(heights);
}
std::string greedyName(std::size_t count, int heights) {
    return qualityName(count, heights) + "/greedy";
}
std::string scaleName(int heights) {
    return "Placement/Callouts/Scale/" + std::to_string(s_scaleCount) + "/d" +
           std::to_string(heights);
}
// The crowded scenes of the robustness benchmarks with callouts at 6 label
// heights, against the uniform scene with them: at most this many times.
constexpr double s_crowdedTarget = 3.0;
std::string crowdedName(Crowd crowd) {
    return std::string("Placement/Callouts/Crowded/") + crowdName(crowd) + "/" +
           std::to_string(s_crowdLabelCount) + "/d" + std::to_string(s_scaleDistance);
}
// The camera path without fades and with fades over this many calls.
constexpr int s_motionFadeFrames[] = {0, 6};
std::string motionName(int fadeFrames) {
    return fadeFrames == 0 ? "Placement/Callouts/Motion/d6" : "Placement/Callouts/Motion/d6/fades";
}

struct LeaderCheck {
    std::size_t callouts = 0;
    std::size_t crossings = 0;
    // Leaders through another label's bounds or over another anchor.
    std::size_t faults = 0;
    double totalLength = 0.0;
};

// The callouts of a result and what their leaders break, by brute force
// over bounding boxes.
LeaderCheck checkLeaders(const std::vector<LabelRequest>& requests,
                         const std::vector<PlacedLabel>& placed,
                         const std::vector<Point>& leaders) {
    LeaderCheck check;
    std::vector<std::size_t> owners;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].visible && placed[i].callout) {
            owners.push_back(i);
        }
    }
    check.callouts = owners.size();
    for (std::size_t l = 0; 2 * l + 1 < leaders.size() && l < owners.size(); ++l) {
        const Point& a = leaders[2 * l];
        const Point& b = leaders[2 * l + 1];
        check.totalLength +=
            std::hypot(static_cast<double>(b[0]) - a[0], static_cast<double>(b[1]) - a[1]);
        for (std::size_t m = l + 1; 2 * m + 1 < leaders.size(); ++m) {
            check.crossings +=
                VarnekTesting::segmentsMeet(a, b, leaders[2 * m], leaders[2 * m + 1]) ? 1 : 0;
        }
        const LabelRect box{std::min(a[0], b[0]), std::min(a[1], b[1]), std::max(a[0], b[0]),
                            std::max(a[1], b[1])};
        for (std::size_t j = 0; j < placed.size(); ++j) {
            if (j == owners[l]) {
                continue;
            }
            const Point& anchor = requests[j].anchor;
            if (anchor[0] >= box.left && anchor[0] <= box.right && anchor[1] >= box.top &&
                anchor[1] <= box.bottom) {
                const double cross = (static_cast<double>(b[0]) - a[0]) * (anchor[1] - a[1]) -
                                     (static_cast<double>(b[1]) - a[1]) * (anchor[0] - a[0]);
                check.faults += cross == 0.0 ? 1 : 0;
            }
            if (placed[j].visible && VarnekTesting::segmentEntersRect(a, b, placed[j].bounds)) {
                ++check.faults;
            }
        }
    }
    if (leaders.size() != 2 * owners.size()) {
        ++check.faults;
    }
    return check;
}

Varnek::LabelPlacementOptions calloutOptions(const LabelRect& viewport, int heights,
                                             bool anchorsAreObstacles) {
    Varnek::LabelPlacementOptions options =
        placementOptions(viewport, candidatesOf(CandidateSet::P12), 1, anchorsAreObstacles);
    options.calloutDistance = static_cast<float>(heights) * s_labelHeight;
    return options;
}

// --- Quality ---------------------------------------------------------------

void measureQuality(benchmark::State& state, std::size_t count, int heights) {
    const std::size_t instances = s_smoke ? 1 : s_randomInstancesPerCount;
    std::vector<PlacementScene> scenes;
    for (std::size_t i = 0; i < instances; ++i) {
        scenes.push_back(makeRandomInstance(count, i));
    }
    LabelPlacer placer(makePlacementBackground(CandidateSet::P12),
                       calloutOptions(scenes.front().viewport, heights, true));
    std::vector<Point> leaders;
    std::size_t shown = 0;
    std::size_t violations = 0;
    LeaderCheck total;
    for ([[maybe_unused]] auto _ : state) {
        shown = violations = 0;
        total = {};
        for (const PlacementScene& scene : scenes) {
            placer.forgetHistory();
            const std::vector<PlacedLabel>& placed = placer.place(scene.requests);
            state.PauseTiming();
            const PlacementCheck check = checkPlacement(scene.viewport, placed);
            leaders.clear();
            placer.appendLeaders(leaders);
            const LeaderCheck leaderCheck = checkLeaders(scene.requests, placed, leaders);
            shown += check.visible;
            violations += check.overlappingPairs + check.outside;
            total.callouts += leaderCheck.callouts;
            total.crossings += leaderCheck.crossings;
            total.faults += leaderCheck.faults;
            total.totalLength += leaderCheck.totalLength;
            state.ResumeTiming();
        }
    }
    state.counters[s_shownPercent] = percent(shown, count * instances);
    state.counters[s_calloutPercent] = percent(total.callouts, count * instances);
    state.counters[s_leaderMean] =
        total.callouts > 0 ? total.totalLength / static_cast<double>(total.callouts) : 0.0;
    state.counters[s_violations] = static_cast<double>(violations);
    state.counters[s_crossingsMax] = static_cast<double>(total.crossings);
    state.counters[s_leaderFaults] = static_cast<double>(total.faults);
    state.counters[s_instances] = static_cast<double>(instances);
}

// The plain greedy yardstick (CalloutBaseline.h) on the placements without
// callouts of the same instances.
void measureGreedy(benchmark::State& state, std::size_t count, int heights) {
    const std::size_t instances = s_smoke ? 1 : s_randomInstancesPerCount;
    std::vector<PlacementScene> scenes;
    for (std::size_t i = 0; i < instances; ++i) {
        scenes.push_back(makeRandomInstance(count, i));
    }
    const auto background = makePlacementBackground(CandidateSet::P12);
    LabelPlacer placer(background, calloutOptions(scenes.front().viewport, 0, true));
    std::size_t shown = 0;
    std::size_t callouts = 0;
    for ([[maybe_unused]] auto _ : state) {
        shown = callouts = 0;
        for (const PlacementScene& scene : scenes) {
            placer.forgetHistory();
            const std::vector<PlacedLabel>& placed = placer.place(scene.requests);
            const std::size_t found = placeCalloutsGreedily(
                scene, *background, placed, static_cast<float>(heights) * s_labelHeight);
            shown += countVisible(placed) + found;
            callouts += found;
        }
    }
    state.counters[s_shownPercent] = percent(shown, count * instances);
    state.counters[s_calloutPercent] = percent(callouts, count * instances);
    state.counters[s_instances] = static_cast<double>(instances);
}

// --- Scale -----------------------------------------------------------------

// A fresh frame of 10,000 labels at the density of 1000 classic ones.
void placeScene(benchmark::State& state, const PlacementScene& scene, int heights) {
    LabelPlacer placer(makePlacementBackground(CandidateSet::P12),
                       calloutOptions(scene.viewport, heights, true));
    const std::vector<PlacedLabel>& placed =
        placeFreshFramesMeasured(state, placer, scene.requests);
    std::size_t callouts = 0;
    for (const PlacedLabel& label : placed) {
        callouts += label.callout ? 1 : 0;
    }
    state.counters[s_shownPercent] = percent(countVisible(placed), scene.requests.size());
    state.counters[s_calloutPercent] = percent(callouts, scene.requests.size());
}

void placeScale(benchmark::State& state, int heights) {
    placeScene(state, makeScaleScene(Layout::Uniform, s_scaleCount), heights);
}

void placeCrowded(benchmark::State& state, Crowd crowd) {
    placeScene(state, makeCrowdedScene(crowd, s_crowdLabelCount), s_scaleDistance);
}

// --- Motion ----------------------------------------------------------------

// The camera path with callouts at 6 label heights, with fades over the
// given calls or none: overlaps, crossing leaders and leader faults of the
// labels drawn (fading ones included) in every frame; between frames,
// jumps (a label drawn in both whose reference point, callout or callout
// offset changed) and flicker (a label drawn in one and not in the other
// while its anchor stayed in view).
void followCamera(benchmark::State& state, int fadeFrames) {
    const std::size_t frameCount = s_smoke ? 30 : s_motionFrameCount;
    const CameraPath path(frameCount);
    const LabelRect view = path.viewport();
    std::vector<LabelRequest> requests;
    std::vector<Point> leaders;
    std::vector<double> frameSeconds(frameCount);
    std::vector<PlacedLabel> before;
    std::size_t overlapsMax = 0;
    std::size_t crossingsMax = 0;
    std::size_t faultsMax = 0;
    double jumpsMax = 0.0;
    double jumpsSum = 0.0;
    double shownSum = 0.0;
    std::size_t flickerMax = 0;
    std::size_t flickerSum = 0;
    std::vector<std::uint8_t> wasInView(CameraPath::s_anchorCount);
    for ([[maybe_unused]] auto _ : state) {
        Varnek::LabelPlacementOptions options = calloutOptions(view, s_scaleDistance, true);
        options.fadeFrames = fadeFrames;
        LabelPlacer placer(makePlacementBackground(CandidateSet::P12), options);
        overlapsMax = crossingsMax = faultsMax = flickerMax = flickerSum = 0;
        jumpsMax = jumpsSum = shownSum = 0.0;
        for (std::size_t frame = 0; frame < frameCount; ++frame) {
            path.frameRequests(frame, requests);
            const double start = threadSeconds();
            const std::vector<PlacedLabel>& placed = placer.place(requests);
            frameSeconds[frame] = threadSeconds() - start;
            const PlacementCheck check = checkPlacement(view, placed);
            leaders.clear();
            placer.appendLeaders(leaders);
            const LeaderCheck leaderCheck = checkLeaders(requests, placed, leaders);
            overlapsMax = std::max(overlapsMax, check.overlappingPairs + check.outside);
            crossingsMax = std::max(crossingsMax, leaderCheck.crossings);
            faultsMax = std::max(faultsMax, leaderCheck.faults);
            std::size_t inView = 0;
            std::size_t inBoth = 0;
            std::size_t jumps = 0;
            std::size_t flicker = 0;
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const Point& anchor = requests[i].anchor;
                const bool isInView = anchor[0] >= view.left && anchor[0] <= view.right &&
                                      anchor[1] >= view.top && anchor[1] <= view.bottom;
                inView += isInView ? 1 : 0;
                const bool stayedInView = frame > 0 && isInView && wasInView[i] != 0;
                wasInView[i] = isInView ? 1 : 0;
                flicker += stayedInView && placed[i].visible != before[i].visible ? 1 : 0;
                if (frame == 0 || !placed[i].visible || !before[i].visible) {
                    continue;
                }
                ++inBoth;
                const bool moved =
                    placed[i].referencePoint != before[i].referencePoint ||
                    placed[i].callout != before[i].callout ||
                    (placed[i].callout && (placed[i].offset[0] != before[i].offset[0] ||
                                           placed[i].offset[1] != before[i].offset[1]));
                jumps += moved ? 1 : 0;
            }
            shownSum += percent(check.visible, inView);
            if (frame > 0) {
                const double share = percent(jumps, inBoth);
                jumpsMax = std::max(jumpsMax, share);
                jumpsSum += share;
                flickerMax = std::max(flickerMax, flicker);
                flickerSum += flicker;
            }
            before = placed;
        }
    }
    std::sort(frameSeconds.begin(), frameSeconds.end());
    const double steps = frameCount > 1 ? static_cast<double>(frameCount - 1) : 1.0;
    state.counters[s_frames] = static_cast<double>(frameCount);
    state.counters[s_overlapsMax] = static_cast<double>(overlapsMax);
    state.counters[s_crossingsMax] = static_cast<double>(crossingsMax);
    state.counters[s_leaderFaults] = static_cast<double>(faultsMax);
    state.counters[s_jumpsMaxPercent] = jumpsMax;
    state.counters[s_jumpsMeanPercent] = jumpsSum / steps;
    state.counters[s_flickerMax] = static_cast<double>(flickerMax);
    state.counters[s_flickerMean] = static_cast<double>(flickerSum) / steps;
    state.counters[s_shownPercent] = shownSum / static_cast<double>(frameCount);
    state.counters[s_frameMedianMs] = 1e3 * frameSeconds[frameCount / 2];
}

[[maybe_unused]] const bool s_registered = [] {
    for (const std::size_t count : s_qualityCounts) {
        for (const int heights : s_distances) {
            benchmark::RegisterBenchmark(qualityName(count, heights).c_str(), measureQuality, count,
                                         heights)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(1);
            if (heights > 0) {
                benchmark::RegisterBenchmark(greedyName(count, heights).c_str(), measureGreedy,
                                             count, heights)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(1);
            }
        }
    }
    for (const int heights : {0, s_scaleDistance}) {
        benchmark::RegisterBenchmark(scaleName(heights).c_str(), placeScale, heights)
            ->Unit(benchmark::kMillisecond);
    }
    for (const Crowd crowd : s_crowds) {
        benchmark::RegisterBenchmark(crowdedName(crowd).c_str(), placeCrowded, crowd)
            ->Unit(benchmark::kMillisecond);
    }
    for (const int fadeFrames : s_motionFadeFrames) {
        benchmark::RegisterBenchmark(motionName(fadeFrames).c_str(), followCamera, fadeFrames)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(1);
    }
    return true;
}();

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

void useCalloutSmokeSizes(bool smoke) {
    s_smoke = smoke;
}

bool SummaryReporter::printCalloutSummary(std::ostream& out) const {
    bool held = true;
    char line[256];
    bool any = false;
    std::string targets;
    for (const std::size_t count : s_qualityCounts) {
        const double none = namedCounter(qualityName(count, 0), s_shownPercent);
        for (const int heights : s_distances) {
            const std::string name = qualityName(count, heights);
            const auto value = [&](const char* counter) { return namedCounter(name, counter); };
            if (value(s_instances) < 0.0) {
                continue;
            }
            if (!any) {
                out << "\nCallouts on the random instances (P12, effort 1, anchors as obstacles): "
                       "per instance\n";
                std::snprintf(line, sizeof line, "  %6s %10s %7s %7s %9s %12s %9s %10s %7s %7s\n",
                              "N", "distance", "shown", "gain", "callouts", "leader mean", "ms",
                              "overlaps", "leaders", "greedy");
                out << line;
                any = true;
            }
            const double gain = none >= 0.0 ? value(s_shownPercent) - none : 0.0;
            // The plain greedy's gain on the same placements, where it ran.
            const double greedyShown = namedCounter(greedyName(count, heights), s_shownPercent);
            char greedy[16] = "";
            if (heights > 0 && none >= 0.0 && greedyShown >= 0.0) {
                std::snprintf(greedy, sizeof greedy, "%+.1f", greedyShown - none);
            }
            const double faults =
                value(s_violations) + value(s_crossingsMax) + value(s_leaderFaults);
            std::snprintf(line, sizeof line,
                          "  %6zu %7d h %6.1f%% %+6.1f %8.1f%% %12.1f %9.3f %10.0f %7.0f %7s\n",
                          count, heights, value(s_shownPercent), gain, value(s_calloutPercent),
                          value(s_leaderMean), medianCpuTime(name) / 1e6 / value(s_instances),
                          value(s_violations), value(s_crossingsMax) + value(s_leaderFaults),
                          greedy);
            out << line;
            if (faults != 0.0) {
                held = false;
                std::snprintf(line, sizeof line, "  ERROR: %s breaks a guarantee\n", name.c_str());
                out << line;
            }
            if (heights == 6 && (count == 1000 || count == 1500) && none >= 0.0 &&
                value(s_instances) >= static_cast<double>(s_randomInstancesPerCount)) {
                const double target = count == 1000 ? s_gainTarget1000 : s_gainTarget1500;
                std::snprintf(line, sizeof line,
                              "  N = %zu, 6 heights: %+.1f points shown over no callouts (plain "
                              "greedy %s), target >= +%.0f  %s\n",
                              count, gain, greedy, target, verdict(gain >= target));
                targets += line;
            }
        }
    }
    out << targets;
    const std::string without = scaleName(0);
    const std::string with = scaleName(s_scaleDistance);
    if (fastestCpuTime(with) > 0.0 && fastestCpuTime(without) > 0.0) {
        const double ratio = fastestCpuTime(with) / fastestCpuTime(without);
        std::snprintf(line, sizeof line,
                      "  N = 10,000 (P12, uniform), 6 heights: %.3f ms against %.3f ms without "
                      "callouts (%.1f%% against %.1f%% shown), ratio %.2f, target <= %.0f  %s\n",
                      fastestCpuTime(with) / 1e6, fastestCpuTime(without) / 1e6,
                      namedCounter(with, s_shownPercent), namedCounter(without, s_shownPercent),
                      ratio, s_timeRatioTarget, verdict(ratio <= s_timeRatioTarget));
        out << line;
        std::snprintf(line, sizeof line, "  allocations per warm frame with callouts: %.0f  %s\n",
                      counter(with, &Result::maxAllocs),
                      verdict(counter(with, &Result::maxAllocs) == 0.0));
        out << line;
    }
    for (const Crowd crowd : s_crowds) {
        const std::string name = crowdedName(crowd);
        if (fastestCpuTime(name) > 0.0 && fastestCpuTime(with) > 0.0) {
            const double ratio = fastestCpuTime(name) / fastestCpuTime(with);
            std::snprintf(line, sizeof line,
                          "  anchors crowded (%s), N = %zu, 6 heights: %.3f ms, %.2f x the "
                          "uniform scene with callouts, target <= %.0f x  %s\n",
                          crowdName(crowd), s_crowdLabelCount, fastestCpuTime(name) / 1e6, ratio,
                          s_crowdedTarget, verdict(ratio <= s_crowdedTarget));
            out << line;
        }
    }
    for (const int fadeFrames : s_motionFadeFrames) {
        const std::string name = motionName(fadeFrames);
        const auto motion = [&](const char* counter) { return namedCounter(name, counter); };
        if (motion(s_frames) < 0.0) {
            continue;
        }
        char fades[32] = "no fades";
        if (fadeFrames > 0) {
            std::snprintf(fades, sizeof fades, "fades over %d calls", fadeFrames);
        }
        std::snprintf(line, sizeof line,
                      "  motion with callouts (6 heights, %s, %.0f frames): shown %.1f%%, "
                      "overlaps %.0f, crossing leaders %.0f, leader faults %.0f, jumps max "
                      "%.3f%% mean %.3f%%, flicker max %.0f mean %.1f, ms median %.3f\n",
                      fades, motion(s_frames), motion(s_shownPercent), motion(s_overlapsMax),
                      motion(s_crossingsMax), motion(s_leaderFaults), motion(s_jumpsMaxPercent),
                      motion(s_jumpsMeanPercent), motion(s_flickerMax), motion(s_flickerMean),
                      motion(s_frameMedianMs));
        out << line;
        const bool clean = motion(s_overlapsMax) == 0.0 && motion(s_crossingsMax) == 0.0 &&
                           motion(s_leaderFaults) == 0.0;
        std::snprintf(line, sizeof line,
                      "  motion with callouts, %s: 0 overlaps and 0 crossing leaders in every "
                      "frame  %s\n",
                      fades, verdict(clean));
        out << line;
        if (!clean) {
            held = false;
            out << "  ERROR: the motion with callouts breaks a guarantee\n";
        }
    }
    return held;
}

}  // namespace VarnekBench
