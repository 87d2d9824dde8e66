// Names of the benchmarks that the summary compares with each other.
#ifndef VARNEK_BENCH_BENCHMARKNAMES_H
#define VARNEK_BENCH_BENCHMARKNAMES_H

namespace VarnekBench {

// Copying as many points as the flat and the round label with a triangle
// have into a freshly reserved vector: the least a polygon query can cost.
inline constexpr const char* s_floor11Points = "Floor/copyPoints/11";
inline constexpr const char* s_floor23Points = "Floor/copyPoints/23";

// What the application asks per label: the offset, then the outline.
inline constexpr const char* s_roundTriangularOutline =
    "Label/Round/Triangular/getOffsetAndPolygon";
inline constexpr const char* s_flatTriangularOutline = "Label/Flat/Triangular/getOffsetAndPolygon";

// The same round-cornered outline with a pointer, built and flattened by Cairo.
inline constexpr const char* s_cairoOutline = "Cairo/RoundOutlineWithPointer/flatten";

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_BENCHMARKNAMES_H
