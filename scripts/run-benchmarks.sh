#!/usr/bin/env bash
# Builds the benchmark preset (g++, Release) and runs the benchmark suite.
#
#   scripts/run-benchmarks.sh            full run: 10 repetitions, interleaved
#   scripts/run-benchmarks.sh --smoke    every benchmark for a moment, for CI,
#                                        placement on small scenes and few frames
#   scripts/run-benchmarks.sh --results docs/placement-results.md
#                                        full run, and the summary written as the
#                                        results page with the machine and commit
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
page=""
if [ "${1:-}" = "--smoke" ]; then
    mode=smoke
    shift
elif [ "${1:-}" = "--results" ]; then
    page="${2:?--results needs the page to write}"
    shift 2
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
run_full() {
    "$binary" --benchmark_min_time=0.1 --benchmark_repetitions=10 \
        --benchmark_enable_random_interleaving=true "$@"
}
if [ -z "$page" ]; then
    run_full "$@"
    exit
fi

# The results page: what ran where, then the summary as printed.
summary="$(mktemp)"
# What ran, read before the page is written (the page is itself a change).
commit="$(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD 2>/dev/null || echo ' (with changes)')"
trap 'rm -f "$summary"' EXIT
load_before="$(cut -d' ' -f1 /proc/loadavg)"
status=0
run_full --varnek_summary_out="$summary" "$@" || status=$?
{
    echo "# Benchmark results"
    echo
    echo "Written by \`scripts/run-benchmarks.sh --results\` (do not edit by hand; run it"
    echo "again). The method, the guarantees and the yardsticks are in"
    echo "[placement.md](placement.md) and [performance.md](performance.md); this page"
    echo "holds one run's figures."
    echo
    echo "- Date: $(date -u +%Y-%m-%d)"
    echo "- Commit: $commit"
    compiler="$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build/bench/CMakeCache.txt)"
    echo "- Compiler: $("${compiler:-c++}" --version | head -n 1), Release, link-time optimised library"
    echo "- Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
    echo "- Load average before the run: $load_before, after: $(cut -d' ' -f1 /proc/loadavg)"
    echo "- Arguments: ${*:-(all benchmarks)}"
    echo
    echo '```text'
    cat "$summary"
    echo '```'
} > "$page"
echo "wrote $page"
exit "$status"
