// The draw-style vocabulary on the paths a view takes while it sets up
// drawing: option text of the value types, mesh draw keys, type collections
// built from lists and turned into option text, colour text, the measurement
// line pattern, and the random label offset.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <varnek/varnek.h>

#include <catalogue/DrawStyleTypes.h>

#include "AllocationCounter.h"
#include "BenchmarkInputs.h"

namespace VarnekBench {
namespace {

// The values 0 to count - 1 in turn, and now and then count itself, one out
// of range, since callers pass those too.
template <typename Enum>
std::array<Enum, s_inputCount> enumValues(int count) {
    std::array<Enum, s_inputCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<Enum>(static_cast<int>(i) % (count + 1));
    }
    return values;
}

// The type's constant option-text lookup, as the catalogue lists it.
void optionText(benchmark::State& state, const VarnekCatalogue::DrawStyleType* type) {
    const std::array<int, s_inputCount> values = enumValues<int>(type->valueCount());
    const auto lookup = type->optionText.text;
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(lookup(pick(values, i++)));
    }
}

// Lists of 0 to count + 1 types, repeats and an out-of-range value included.
template <typename Type>
std::array<std::vector<Type>, s_inputCount> typeLists(int count) {
    InputGenerator generator(5);
    std::array<std::vector<Type>, s_inputCount> lists;
    for (std::vector<Type>& list : lists) {
        const int length = generator.integer(0, count + 1);
        for (int k = 0; k < length; ++k) {
            list.push_back(static_cast<Type>(generator.integer(0, count)));
        }
    }
    return lists;
}

// The number of kinds of Type, set from the catalogue before the set's
// benchmarks are registered.
template <typename Type>
int s_kindCount = 0;

template <typename Collection, typename Type>
void constructCollection(benchmark::State& state) {
    static const std::array<std::vector<Type>, s_inputCount> s_lists =
        typeLists<Type>(s_kindCount<Type>);
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        const Collection collection(pick(s_lists, i++));
        benchmark::DoNotOptimize(&collection);
        benchmark::ClobberMemory();
    }
}

// The option text is a new string per call; its allocations are reported
// without a target.
template <typename Collection, typename Type>
void collectionHoopsNotation(benchmark::State& state) {
    static const std::array<std::vector<Type>, s_inputCount> s_lists =
        typeLists<Type>(s_kindCount<Type>);
    std::vector<Collection> collections;
    collections.reserve(s_lists.size());
    for (const std::vector<Type>& list : s_lists) {
        collections.emplace_back(list);
    }
    std::size_t i = 0;
    const AllocationMeter meter(state);
    for ([[maybe_unused]] auto _ : state) {
        const std::string text = collections[i++ & (s_inputCount - 1)].getHoopsNotation();
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
}

// Colours with components in 0 to 1, exactly 1 among them.
const std::vector<Varnek::ColorRGB>& colours() {
    static const std::vector<Varnek::ColorRGB> s_colours = [] {
        InputGenerator generator(9);
        std::vector<Varnek::ColorRGB> result;
        for (std::size_t i = 0; i < s_inputCount; ++i) {
            const float red = i % 4 == 0 ? 1.0F : generator.uniform(0.0F, 1.0F);
            result.emplace_back(red, generator.uniform(0.0F, 1.0F), generator.uniform(0.0F, 1.0F));
        }
        return result;
    }();
    return s_colours;
}

const Varnek::ColorRGB& pickColour(const std::vector<Varnek::ColorRGB>& values, std::size_t i) {
    return values[i & (s_inputCount - 1)];
}

void colorToString(benchmark::State& state) {
    const auto& values = colours();
    std::size_t i = 0;
    const AllocationMeter meter(state);
    for ([[maybe_unused]] auto _ : state) {
        const std::string text = Varnek::ColorRGB::toString(pickColour(values, i++));
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
}

// Patches the colour inside a longer option text at changing positions.
void colorToStringAt(benchmark::State& state) {
    const auto& values = colours();
    std::string text = "color = (faces = r=0.000 g=0.000 b=0.000, edges = r=0.000 g=0.000 b=0.000)";
    constexpr std::array<int, 2> positions = {17, 51};
    // The first colour of exactly 1 creates the library's constant "1.000".
    Varnek::ColorRGB::toStringAt(text, positions[0], values[0]);
    std::size_t i = 0;
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        Varnek::ColorRGB::toStringAt(text, positions[i & 1], pickColour(values, i));
        ++i;
        benchmark::DoNotOptimize(text.data());
        benchmark::ClobberMemory();
    }
}

void createMeasurementLinePatternDefinition(benchmark::State& state) {
    using Varnek::DrawSymbolPoint;
    constexpr std::array<DrawSymbolPoint::Enum, 4> symbols = {
        DrawSymbolPoint::MeasuringArrow, DrawSymbolPoint::MeasuringBar,
        DrawSymbolPoint::MeasuringPoint, DrawSymbolPoint::FilledTriangleUp};
    InputGenerator generator(13);
    std::array<float, s_inputCount> weights{};
    for (float& weight : weights) {
        weight = generator.uniform(0.5F, 4.0F);
    }
    const auto& contrast = colours();
    std::size_t i = 0;
    const AllocationMeter meter(state);
    for ([[maybe_unused]] auto _ : state) {
        const Varnek::DrawCustomPatternDefinitionLine pattern =
            Varnek::DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
                1.0F, pick(weights, i), pick(weights, i + 1), static_cast<int>(i & 7) + 2,
                static_cast<int>(i & 3) + 1, symbols[i & 3], symbols[(i + 1) & 3],
                pickColour(contrast, i));
        ++i;
        benchmark::DoNotOptimize(pattern.getDefinition().data());
        benchmark::ClobberMemory();
    }
}

void computeRandomLabelOffset(benchmark::State& state) {
    const AllocationMeter meter(state, 0);
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(Varnek::DrawZLayer::computeRandomLabelOffset());
    }
}

// The benchmarks of a set of kinds: building it from lists and its option
// text, for lists of the kinds the catalogue gives the kind type. The set is
// named by the kinds' plural.
struct CollectionBenchmarks {
    const char* kindName;
    int* kindCount;
    void (*construct)(benchmark::State&);
    void (*hoopsNotation)(benchmark::State&);
};

template <typename Collection, typename Type>
CollectionBenchmarks collectionBenchmarks(const char* kindName) {
    return {kindName, &s_kindCount<Type>, constructCollection<Collection, Type>,
            collectionHoopsNotation<Collection, Type>};
}

[[maybe_unused]] const bool s_registered = [] {
    using namespace Varnek;
    using benchmark::RegisterBenchmark;

    for (const VarnekCatalogue::DrawStyleType& type : VarnekCatalogue::drawStyleTypes()) {
        if (type.optionText.function != nullptr) {
            RegisterBenchmark(
                (std::string("Vocabulary/") + type.name + "/" + type.optionText.function).c_str(),
                optionText, &type);
        }
    }

    const CollectionBenchmarks collections[] = {
        collectionBenchmarks<DrawVisibleTypesCollection, DrawVisibleType>("DrawVisibleType"),
        collectionBenchmarks<DrawSelectableTypesCollection, DrawSelectableType>(
            "DrawSelectableType"),
        collectionBenchmarks<DrawShaderAffectedTypesCollection, DrawShaderAffectedType>(
            "DrawShaderAffectedType"),
        collectionBenchmarks<DrawSkinAffectedTypesCollection, DrawSkinAffectedType>(
            "DrawSkinAffectedType"),
    };
    for (const CollectionBenchmarks& collection : collections) {
        *collection.kindCount = VarnekCatalogue::drawStyleType(collection.kindName).valueCount();
        const std::string prefix =
            std::string("Vocabulary/") + collection.kindName + "sCollection/";
        RegisterBenchmark((prefix + "construct").c_str(), collection.construct);
        RegisterBenchmark((prefix + "getHoopsNotation").c_str(), collection.hoopsNotation);
    }

    RegisterBenchmark("Vocabulary/ColorRGB/toString", colorToString);
    RegisterBenchmark("Vocabulary/ColorRGB/toStringAt", colorToStringAt);
    RegisterBenchmark("Vocabulary/DrawCustomPatternDefinitionLine/createMeasurementLine",
                      createMeasurementLinePatternDefinition);
    RegisterBenchmark("Vocabulary/DrawZLayer/computeRandomLabelOffset", computeRandomLabelOffset);
    return true;
}();

}  // namespace
}  // namespace VarnekBench
