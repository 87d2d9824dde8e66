// The label geometry the view asks for every label it lays out: offset, body
// and complete size, outline polygon and point count, for every background
// shape with no indicator and with a triangle.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <varnek/varnek.h>

#include "AllocationCounter.h"
#include "BenchmarkInputs.h"
#include "LabelFixtures.h"

namespace VarnekBench {
namespace {

using Varnek::LabelBackground;

// A background with its offsets for every input, computed beforehand so
// that the polygon benchmark times the polygon alone.
struct Fixture {
    std::shared_ptr<LabelBackground> background;
    std::array<Point, s_inputCount> offsets{};

    Fixture(Shape shape, Indicator indicator) : background(makeBackground(shape, indicator)) {
        const auto& inputs = labelInputs();
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            offsets[i] = background->getOffset(inputs[i].referencePoint, inputs[i].size);
        }
    }

    // Mean number of points of the outline over the inputs.
    double meanPolygonPoints() const {
        const auto& inputs = labelInputs();
        std::size_t points = 0;
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            points +=
                background->getPolygon(inputs[i].referencePoint, inputs[i].size, offsets[i]).size();
        }
        return static_cast<double>(points) / static_cast<double>(inputs.size());
    }
};

void getOffset(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        benchmark::DoNotOptimize(background.getOffset(input.referencePoint, input.size));
    }
}

void getBodySize(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        benchmark::DoNotOptimize(
            background.getBodySizeInMaskedCoordinates(input.referencePoint, input.size));
    }
}

void getCompleteSize(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        benchmark::DoNotOptimize(
            background.getCompleteSizeInMaskedCoordinates(input.referencePoint, input.size));
    }
}

void getNumberOfPolygonPoints(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground* background = fixture.background.get();
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        // The background is opaque to the compiler, so the call is made anew.
        benchmark::DoNotOptimize(background);
        benchmark::DoNotOptimize(background->getNumberOfPolygonPoints());
    }
}

void getPolygon(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    state.counters["points"] = benchmark::Counter(fixture.meanPolygonPoints());
    std::size_t i = 0;
    const AllocationMeter meter(state, 1);
    for ([[maybe_unused]] auto _ : state) {
        const std::size_t k = i++ & (s_inputCount - 1);
        const std::vector<Point> polygon =
            background.getPolygon(inputs[k].referencePoint, inputs[k].size, fixture.offsets[k]);
        benchmark::DoNotOptimize(polygon.data());
        benchmark::ClobberMemory();
    }
}

// What the application does per label: ask the offset, pass it back for the
// outline.
void getOffsetAndPolygon(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    state.counters["points"] = benchmark::Counter(fixture.meanPolygonPoints());
    std::size_t i = 0;
    const AllocationMeter meter(state, 1);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        const Point offset = background.getOffset(input.referencePoint, input.size);
        const std::vector<Point> polygon =
            background.getPolygon(input.referencePoint, input.size, offset);
        benchmark::DoNotOptimize(polygon.data());
        benchmark::ClobberMemory();
    }
}

void getIndicatorPolygon(benchmark::State& state, Shape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 1);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        const std::vector<Point> polygon =
            background.getIndicatorPolygon(input.referencePoint, input.size);
        benchmark::DoNotOptimize(polygon.data());
        benchmark::ClobberMemory();
    }
}

using LabelBenchmark = void (*)(benchmark::State&, Shape, Indicator);

void registerLabel(Shape shape, Indicator indicator, const char* path, LabelBenchmark function) {
    const std::string name =
        std::string("Label/") + shapeName(shape) + "/" + indicatorName(indicator) + "/" + path;
    benchmark::RegisterBenchmark(name.c_str(), function, shape, indicator);
}

[[maybe_unused]] const bool s_registered = [] {
    struct Combination {
        Shape shape;
        Indicator indicator;
    };
    constexpr Combination combinations[] = {
        {Shape::Round, Indicator::None}, {Shape::Round, Indicator::Triangular},
        {Shape::Flat, Indicator::None},  {Shape::Flat, Indicator::Triangular},
        {Shape::Plain, Indicator::None}, {Shape::Plain, Indicator::Triangular},
    };
    for (const Combination& c : combinations) {
        registerLabel(c.shape, c.indicator, "getOffset", getOffset);
        registerLabel(c.shape, c.indicator, "getBodySize", getBodySize);
        registerLabel(c.shape, c.indicator, "getCompleteSize", getCompleteSize);
        registerLabel(c.shape, c.indicator, "getPolygon", getPolygon);
        registerLabel(c.shape, c.indicator, "getOffsetAndPolygon", getOffsetAndPolygon);
        if (c.shape == Shape::Round) {
            registerLabel(c.shape, c.indicator, "getNumberOfPolygonPoints",
                          getNumberOfPolygonPoints);
            if (c.indicator != Indicator::None) {
                registerLabel(c.shape, c.indicator, "getIndicatorPolygon", getIndicatorPolygon);
            }
        }
    }
    return true;
}();

}  // namespace
}  // namespace VarnekBench
