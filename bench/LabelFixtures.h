// The labels the label benchmarks and the Cairo comparison lay out: the
// inputs (reference points and label sizes) and the backgrounds of the
// catalogue, built and initialised as a view builds them.
#ifndef VARNEK_BENCH_LABELFIXTURES_H
#define VARNEK_BENCH_LABELFIXTURES_H

#include <array>
#include <memory>
#include <string>

#include <catalogue/LabelKinds.h>
#include <varnek/varnek.h>

#include "BenchmarkInputs.h"

namespace VarnekBench {

using Point = Varnek::Vector<float, 3>;
using VarnekCatalogue::BackgroundShape;

// Masked units per screen height: a view about a thousand pixels high.
inline constexpr float s_scale = 1000.0F;

struct LabelInput {
    Varnek::LabelBackground::ReferencePoint referencePoint;
    Point size;
};

// Every placed reference point in turn, with text extents from a short word
// to a long line, one or a few lines high.
const std::array<LabelInput, s_inputCount>& labelInputs();

// The indicators the benchmarks time, fixed-size as a view uses them.
enum class Indicator { None, Triangular, Layered };
inline constexpr std::array<Indicator, 3> s_indicators{Indicator::None, Indicator::Triangular,
                                                       Indicator::Layered};

// "Round": the catalogue's name, capitalised as benchmark names are.
std::string shapeName(BackgroundShape shape);
const char* indicatorName(Indicator indicator);

// The background of that shape with that indicator, initialised with s_scale.
// A shape that carries no indicator ignores the argument.
std::shared_ptr<Varnek::LabelBackground> makeBackground(BackgroundShape shape, Indicator indicator);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_LABELFIXTURES_H
