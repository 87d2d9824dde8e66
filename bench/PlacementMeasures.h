// What the placement benchmarks measure alike: shares, the thread's own
// time, and a fresh frame timed with its allocations counted.
#ifndef VARNEK_BENCH_PLACEMENTMEASURES_H
#define VARNEK_BENCH_PLACEMENTMEASURES_H

#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>

#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_placement/LabelRequest.h>
#include <varnek/label_placement/PlacedLabel.h>

namespace VarnekBench {

// part of whole in percent; 0 for an empty whole.
double percent(std::size_t part, std::size_t whole);

// The calling thread's processor time in seconds: frames timed one by one
// count their own work, not the other programs of a shared machine.
double threadSeconds();

// Times placing `requests` with no history in every iteration of `state`,
// with 0 allocations a frame as the target, after two frames that grow the
// placer's buffers (a placer may keep one frame's history while it builds
// the next). Returns one more such frame, placed outside the timing.
const std::vector<Varnek::PlacedLabel>& placeFreshFramesMeasured(
    benchmark::State& state, Varnek::LabelPlacer& placer,
    const std::vector<Varnek::LabelRequest>& requests);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_PLACEMENTMEASURES_H
