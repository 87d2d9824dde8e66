// The labels the label benchmarks and the Cairo comparison lay out: the
// inputs (reference points and label sizes) and the backgrounds, built and
// initialised as a view builds them.
#ifndef VARNEK_BENCH_LABELFIXTURES_H
#define VARNEK_BENCH_LABELFIXTURES_H

#include <array>
#include <memory>

#include <varnek/varnek.h>

#include "BenchmarkInputs.h"

namespace VarnekBench {

using Point = Varnek::Vector<float, 3>;

// Masked units per screen height: a view about a thousand pixels high.
inline constexpr float s_scale = 1000.0F;

struct LabelInput {
    Varnek::LabelBackground::ReferencePoint referencePoint;
    Point size;
};

// Every placed reference point in turn, with text extents from a short word
// to a long line, one or a few lines high.
const std::array<LabelInput, s_inputCount>& labelInputs();

enum class Shape { Round, Flat, Plain, Balloon };
enum class Indicator { None, Triangular, Layered };

const char* shapeName(Shape shape);
const char* indicatorName(Indicator indicator);

// The background of that shape with that indicator, initialised with s_scale.
// The balloon has no indicator and ignores the argument.
std::shared_ptr<Varnek::LabelBackground> makeBackground(Shape shape, Indicator indicator);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_LABELFIXTURES_H
