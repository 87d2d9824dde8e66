#!/usr/bin/env bash
# Builds the benchmark preset (g++, Release) and runs the benchmark suite.
#
#   scripts/run-benchmarks.sh            full run: 10 repetitions, interleaved
#   scripts/run-benchmarks.sh --smoke    every benchmark for a moment, for CI,
#                                        placement on small scenes and few frames
#
# Further arguments go to the benchmark binary (for example
# --benchmark_filter=Label/Round, or --benchmark_out=run.json
# --benchmark_out_format=json for a machine-readable copy). The run ends with
# a summary of allocations per call, of the time ratios and of the placement
# tables; it fails only when a path allocates other than its target or a
# placement breaks a guarantee (an overlap, a label outside the view), never
# because of a time.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=full
if [ "${1:-}" = "--smoke" ]; then
    mode=smoke
    shift
fi

cmake --preset bench >/dev/null
cmake --build --preset bench

binary=build/bench/bench/varnek_bench
if [ "$mode" = smoke ]; then
    exec "$binary" --benchmark_min_time=0.01 --varnek_smoke "$@"
fi
# Ten repetitions run interleaved in random order, so that a burst of load from
# elsewhere on the machine spreads over all benchmarks instead of one; the
# console shows their aggregates, the summary also the fastest repetition.
exec "$binary" --benchmark_min_time=0.1 --benchmark_repetitions=10 \
    --benchmark_enable_random_interleaving=true "$@"
