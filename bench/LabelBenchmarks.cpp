// The label geometry the view asks for every label it lays out: offset, body
// and complete size, outline polygon and point count, for every background
// shape with no indicator, a triangle and a layered indicator; and building a
// balloon, which flattens its Bézier path once.
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

    Fixture(BackgroundShape shape, Indicator indicator)
        : background(makeBackground(shape, indicator)) {
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

// A query that answers a vector for a reference point and a label size:
// the offset and the two sizes, none of which may allocate.
using LabelQuery = Point (LabelBackground::*)(LabelBackground::ReferencePoint, const Point&) const;

template <LabelQuery query>
void measureQuery(benchmark::State& state, BackgroundShape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        const LabelInput& input = pick(inputs, i++);
        benchmark::DoNotOptimize((background.*query)(input.referencePoint, input.size));
    }
}

void getNumberOfPolygonPoints(benchmark::State& state, BackgroundShape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    const LabelBackground* background = fixture.background.get();
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        // The background is opaque to the compiler, so the call is made anew.
        benchmark::DoNotOptimize(background);
        benchmark::DoNotOptimize(background->getNumberOfPolygonPoints());
    }
}

// Times a query that answers a fresh polygon: one vector per call, released
// before the next. The query gets the background, the input and the offset
// that getOffset gives for it.
template <typename PolygonQuery>
void measurePolygonQuery(benchmark::State& state, const Fixture& fixture, PolygonQuery query) {
    const LabelBackground& background = *fixture.background;
    const auto& inputs = labelInputs();
    std::size_t i = 0;
    const AllocationMeter meter(state, 1);
    for ([[maybe_unused]] auto _ : state) {
        const std::size_t k = i++ & (s_inputCount - 1);
        const std::vector<Point> polygon = query(background, inputs[k], fixture.offsets[k]);
        benchmark::DoNotOptimize(polygon.data());
        benchmark::ClobberMemory();
    }
}

void getPolygon(benchmark::State& state, BackgroundShape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    state.counters["points"] = benchmark::Counter(fixture.meanPolygonPoints());
    measurePolygonQuery(
        state, fixture,
        [](const LabelBackground& background, const LabelInput& input, const Point& offset) {
            return background.getPolygon(input.referencePoint, input.size, offset);
        });
}

// What the application does per label: ask the offset, pass it back for the
// outline.
void getOffsetAndPolygon(benchmark::State& state, BackgroundShape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    state.counters["points"] = benchmark::Counter(fixture.meanPolygonPoints());
    measurePolygonQuery(
        state, fixture,
        [](const LabelBackground& background, const LabelInput& input, const Point&) {
            const Point offset = background.getOffset(input.referencePoint, input.size);
            return background.getPolygon(input.referencePoint, input.size, offset);
        });
}

void getIndicatorPolygon(benchmark::State& state, BackgroundShape shape, Indicator indicator) {
    const Fixture fixture(shape, indicator);
    measurePolygonQuery(
        state, fixture,
        [](const LabelBackground& background, const LabelInput& input, const Point&) {
            return background.getIndicatorPolygon(input.referencePoint, input.size);
        });
}

// The balloon flattens its thirteen Bézier segments through the geometry
// library once per object; its allocations are those of the curve objects and
// the polyline, so no target is set.
void constructBalloon(benchmark::State& state) {
    const AllocationMeter meter(state);
    for ([[maybe_unused]] auto _ : state) {
        const Varnek::BalloonLabelBackground balloon;
        benchmark::DoNotOptimize(&balloon);
        benchmark::ClobberMemory();
    }
}

using LabelBenchmark = void (*)(benchmark::State&, BackgroundShape, Indicator);

std::string labelBenchmarkName(BackgroundShape shape, Indicator indicator, const char* path) {
    return std::string("Label/") + shapeName(shape) + "/" + indicatorName(indicator) + "/" + path;
}

[[maybe_unused]] const bool s_registered = [] {
    struct Path {
        const char* name;
        LabelBenchmark function;
        bool forEveryShape;  // otherwise for the round label only
        bool needsIndicator;
    };
    constexpr Path paths[] = {
        {"getOffset", measureQuery<&LabelBackground::getOffset>, true, false},
        {"getBodySize", measureQuery<&LabelBackground::getBodySizeInMaskedCoordinates>, true,
         false},
        {"getCompleteSize", measureQuery<&LabelBackground::getCompleteSizeInMaskedCoordinates>,
         true, false},
        {"getPolygon", getPolygon, true, false},
        {"getOffsetAndPolygon", getOffsetAndPolygon, true, false},
        {"getNumberOfPolygonPoints", getNumberOfPolygonPoints, false, false},
        {"getIndicatorPolygon", getIndicatorPolygon, false, true},
    };
    // Every shape of the catalogue; the indicators only where it carries one.
    for (const auto& shape : VarnekCatalogue::backgroundShapes()) {
        for (const Indicator indicator : s_indicators) {
            if (!shape.carriesIndicator && indicator != Indicator::None) {
                continue;
            }
            for (const Path& path : paths) {
                if ((path.forEveryShape || shape.shape == BackgroundShape::Round) &&
                    (!path.needsIndicator || indicator != Indicator::None)) {
                    benchmark::RegisterBenchmark(
                        labelBenchmarkName(shape.shape, indicator, path.name).c_str(),
                        path.function, shape.shape, indicator);
                }
            }
        }
    }
    benchmark::RegisterBenchmark("Label/Balloon/construct", constructBalloon);
    return true;
}();

}  // namespace
}  // namespace VarnekBench
