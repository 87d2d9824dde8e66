// Names and counters of the placement benchmarks, shared by the benchmarks
// and the summary that reads their results back.
#ifndef VARNEK_BENCH_PLACEMENTNAMES_H
#define VARNEK_BENCH_PLACEMENTNAMES_H

#include <cstddef>
#include <string>

#include "PlacementInstances.h"

namespace VarnekBench {

// How a quality benchmark places its instances.
enum class QualityMethod { Greedy, Effort1, Effort8, Annealing };

inline const char* qualityMethodName(QualityMethod method) {
    switch (method) {
        case QualityMethod::Greedy:
            return "greedy";
        case QualityMethod::Effort1:
            return "effort1";
        case QualityMethod::Effort8:
            return "effort8";
        case QualityMethod::Annealing:
            return "annealing";
    }
    return "";
}

// "Placement/Scale/Uniform/10000/fresh": one call without history;
// ".../unchanged": the same requests again, history kept.
inline std::string scaleBenchmarkName(Layout layout, std::size_t count, const char* frame) {
    return std::string("Placement/Scale/") + layoutName(layout) + "/" + std::to_string(count) +
           "/" + frame;
}

inline std::string qualityBenchmarkName(CandidateSet set, std::size_t count, QualityMethod method) {
    return std::string("Placement/Quality/") + candidateSetName(set) + "/" + std::to_string(count) +
           "/" + qualityMethodName(method);
}

inline constexpr const char* s_appendOutlines = "Placement/Outline/appendOutlines";
inline constexpr const char* s_copyOutlinePoints = "Placement/Outline/copyPoints";
inline constexpr const char* s_appendTriangles = "Placement/Outline/appendTriangles";
inline constexpr const char* s_motionWithHistory = "Placement/Motion/withHistory";
inline constexpr const char* s_motionWithoutHistory = "Placement/Motion/withoutHistory";

// Frames of the camera path in a full run.
inline constexpr std::size_t s_motionFrameCount = 600;

// Counters the summary reads.
inline constexpr const char* s_shownPercent = "shown_pct";
inline constexpr const char* s_instances = "instances";
inline constexpr const char* s_violations = "violations";
inline constexpr const char* s_frames = "frames";
inline constexpr const char* s_overlapsMax = "overlaps_max";
inline constexpr const char* s_outsideMax = "outside_max";
inline constexpr const char* s_jumpsMaxPercent = "jumps_max_pct";
inline constexpr const char* s_jumpsMeanPercent = "jumps_mean_pct";
inline constexpr const char* s_flickerMean = "flicker_mean";
inline constexpr const char* s_flickerMax = "flicker_max";
inline constexpr const char* s_frameMedianMs = "frame_median_ms";
inline constexpr const char* s_frameP99Ms = "frame_p99_ms";

// "Placement/FirstCall/750/newPlacer": a placer made for the frame;
// ".../reusedPlacer": one that placed it before, its history forgotten.
inline constexpr std::size_t s_firstCallCounts[] = {750, 10000, 100000};
inline std::string firstCallBenchmarkName(std::size_t count, bool newPlacer) {
    return "Placement/FirstCall/" + std::to_string(count) +
           (newPlacer ? "/newPlacer" : "/reusedPlacer");
}

// "Placement/Scale/Classic/10000/fresh": plain 30 x 7 labels at four corners.
inline std::string classicScaleBenchmarkName(std::size_t count) {
    return "Placement/Scale/Classic/" + std::to_string(count) + "/fresh";
}

inline const char* crowdName(Crowd crowd) {
    switch (crowd) {
        case Crowd::OnePoint:
            return "OnePoint";
        case Crowd::Line:
            return "Line";
        case Crowd::Speck:
            return "Speck";
        case Crowd::TenfoldDensity:
            return "TenfoldDensity";
    }
    return "";
}
inline std::string crowdBenchmarkName(Crowd crowd) {
    return std::string("Placement/Crowded/") + crowdName(crowd) + "/" +
           std::to_string(s_crowdLabelCount);
}

// "Placement/FadingAtOnce/10000": as many labels as the crowded scenes, in a
// flat 3D view with fades, all drawn and then all occluded at once.
inline std::string allFadingBenchmarkName() {
    return "Placement/FadingAtOnce/" + std::to_string(s_crowdLabelCount);
}

// "Placement/QualityWithAnchors/P4/1000": the classic instances with anchors
// as obstacles.
inline constexpr std::size_t s_qualityWithAnchorsCounts[] = {750, 1000, 1500};
inline std::string qualityWithAnchorsBenchmarkName(std::size_t count) {
    return "Placement/QualityWithAnchors/P4/" + std::to_string(count);
}
inline constexpr const char* s_effort8ShownPercent = "effort8_pct";
inline constexpr const char* s_greedyShownPercent = "greedy_pct";
inline constexpr const char* s_fewerThanGreedy = "fewer_than_greedy";

// Smoke: the quality and motion benchmarks place few instances and frames, so
// that the smoke run stays short but still checks allocations and
// guarantees. Call before the benchmarks run.
void usePlacementSmokeSizes(bool smoke);
void usePlacementRobustnessSmokeSizes(bool smoke);
void useCalloutSmokeSizes(bool smoke);
void useOrbitSmokeSizes(bool smoke);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_PLACEMENTNAMES_H
