// What the placement benchmarks measure alike.
#include "PlacementMeasures.h"

#include <ctime>

#include "AllocationCounter.h"

namespace VarnekBench {

double percent(std::size_t part, std::size_t whole) {
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

const std::vector<Varnek::PlacedLabel>& placeFreshFramesMeasured(
    benchmark::State& state, Varnek::LabelPlacer& placer,
    const std::vector<Varnek::LabelRequest>& requests) {
    placer.place(requests);
    placer.forgetHistory();
    placer.place(requests);
    {
        const AllocationMeter meter(state, 0);
        for ([[maybe_unused]] auto _ : state) {
            placer.forgetHistory();
            const std::vector<Varnek::PlacedLabel>& placed = placer.place(requests);
            benchmark::DoNotOptimize(placed.data());
            benchmark::ClobberMemory();
        }
    }
    placer.forgetHistory();
    return placer.place(requests);
}

}  // namespace VarnekBench
