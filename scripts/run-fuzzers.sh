#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang) and runs each one for a
# bounded time from its seed corpus in fuzz/corpus/<target>/. Fails if any
# target finds a crash, a sanitizer report, a wrong answer, a leak, a timeout
# or an out-of-memory; the input that found it is kept as
# build/fuzz/runs/<target>/crash-* (or leak-*, timeout-*, oom-*).
#
#   scripts/run-fuzzers.sh [seconds per target (20)] [targets at once (1)]
#   scripts/run-fuzzers.sh merge
#
# A target with a dictionary, fuzz/<target>.dict, runs with it. The corpus
# each run grows is kept in build/fuzz/runs/<target>/corpus/ and reused by
# the next run; the committed corpus is never written to, except by `merge`,
# which replaces fuzz/corpus/<target>/ by the smallest set of inputs from it
# and the grown corpus that reaches the same coverage (libFuzzer's -merge=1).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=run
if [ "${1:-}" = merge ]; then
    mode=merge
    shift
fi
seconds=${1:-20}
parallel=${2:-1}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mapfile -t binaries < <(find build/fuzz/fuzz -maxdepth 1 -type f -name 'varnek_fuzz_*' -perm -u+x | sort)
if [ ${#binaries[@]} -eq 0 ]; then
    echo "no fuzz targets were built (does the compiler support -fsanitize=fuzzer?)" >&2
    exit 1
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

dictionary_of() {
    local dictionary=fuzz/$1.dict
    if [ -f "$dictionary" ]; then
        echo "-dict=$dictionary"
    fi
}

if [ "$mode" = merge ]; then
    for binary in "${binaries[@]}"; do
        target=${binary##*/varnek_fuzz_}
        merged=$(mktemp -d)
        mkdir -p "build/fuzz/runs/$target/corpus"
        "$binary" -merge=1 -max_len=1024 -timeout=10 -rss_limit_mb=2048 $(dictionary_of "$target") \
            "$merged" "fuzz/corpus/$target" "build/fuzz/runs/$target/corpus" \
            >"build/fuzz/runs/$target/merge.log" 2>&1
        rm -f "fuzz/corpus/$target"/*
        mv "$merged"/* "fuzz/corpus/$target/"
        rmdir "$merged"
        echo "$target: $(find "fuzz/corpus/$target" -type f | wc -l) inputs kept"
    done
    exit 0
fi

run_one() {
    local binary=$1 target=${1##*/varnek_fuzz_}
    local dir=build/fuzz/runs/$target
    mkdir -p "$dir/corpus"
    rm -f "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*
    local status=0
    "$binary" -max_total_time="$seconds" -max_len=1024 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/" $(dictionary_of "$target") \
        "$dir/corpus" "fuzz/corpus/$target" >"$dir/log" 2>&1 || status=$?
    echo "$status" >"$dir/status"
}

pids=()
for binary in "${binaries[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    echo "fuzzing ${binary##*/} for ${seconds}s"
    run_one "$binary" &
    pids+=($!)
done
wait

failed=0
printf '\n%-22s %12s %10s %8s  %s\n' target executions exec/s corpus result
for binary in "${binaries[@]}"; do
    target=${binary##*/varnek_fuzz_}
    dir=build/fuzz/runs/$target
    status=$(cat "$dir/status")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -1)
    corpus=$(find "$dir/corpus" -type f | wc -l)
    findings=$(find "$dir" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    result=ok
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        result="FINDING (exit $status, see $dir/log)"
        failed=1
        grep -E 'ERROR|runtime error|check failed' "$dir/log" | head -5 || true
    fi
    printf '%-22s %12s %10s %8s  %s\n' "$target" "${runs:-?}" "${speed:-?}" "$corpus" "$result"
done
exit $failed
