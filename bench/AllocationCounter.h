// Reports how many allocations one call of a benchmarked path makes, counted
// per thread by the shared allocation hook (support/allocation), which
// replaces the global operator new of the whole benchmark binary, the
// library included.
#ifndef VARNEK_BENCH_ALLOCATIONCOUNTER_H
#define VARNEK_BENCH_ALLOCATIONCOUNTER_H

#include <cstdint>

#include <benchmark/benchmark.h>

namespace VarnekBench {

// Measures the allocations of a benchmark's timed loop: construct it right
// before the loop; when it goes out of scope it reports the counter "allocs"
// (allocations per iteration) and, when a target is given, "allocs_target",
// which the summary compares with it.
class AllocationMeter {
public:
    static constexpr double s_noTarget = -1.0;

    explicit AllocationMeter(benchmark::State& state, double targetPerCall = s_noTarget);
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;
    ~AllocationMeter();

private:
    benchmark::State& m_state;
    double m_target;
    std::uint64_t m_start;
};

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_ALLOCATIONCOUNTER_H
