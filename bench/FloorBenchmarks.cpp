// The floor of a polygon query: a fresh vector, reserved once, into which the
// points are copied from a table, with no arithmetic. A query that returns n
// points cannot cost less than this for n points.
#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>

#include <varnek/services/Vector.h>

#include "AllocationCounter.h"
#include "BenchmarkInputs.h"
#include "BenchmarkNames.h"

namespace VarnekBench {
namespace {

using Point = Varnek::Vector<float, 3>;

// Enough points for a window of any polygon size at every input offset.
constexpr std::size_t s_sourcePointCount = 128;

const std::vector<Point>& sourcePoints() {
    static const std::vector<Point> s_points = [] {
        InputGenerator generator(7);
        std::vector<Point> points;
        for (std::size_t i = 0; i < s_sourcePointCount; ++i) {
            points.emplace_back(generator.uniform(-200.0F, 200.0F),
                                generator.uniform(-100.0F, 100.0F), 0.0F);
        }
        return points;
    }();
    return s_points;
}

void copyPoints(benchmark::State& state, std::size_t pointCount) {
    const std::vector<Point>& source = sourcePoints();
    std::size_t i = 0;
    const AllocationMeter meter(state, 1);
    for ([[maybe_unused]] auto _ : state) {
        const Point* from = source.data() + (i++ & (s_inputCount - 1));
        std::vector<Point> polygon;
        polygon.reserve(pointCount);
        for (std::size_t k = 0; k < pointCount; ++k) {
            polygon.push_back(from[k]);
        }
        benchmark::DoNotOptimize(polygon.data());
        benchmark::ClobberMemory();
    }
}

[[maybe_unused]] const bool s_registered = [] {
    benchmark::RegisterBenchmark(s_floor11Points, copyPoints, std::size_t{11});
    benchmark::RegisterBenchmark(s_floor23Points, copyPoints, std::size_t{23});
    return true;
}();

}  // namespace
}  // namespace VarnekBench
