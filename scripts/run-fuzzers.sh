#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang) and, for each target,
# first runs every input of its committed corpus fuzz/corpus/<target>/ once,
# then fuzzes it for a bounded time from that corpus. Fails if an input of
# the corpus was not run, if a target found a crash, a sanitizer report, a
# wrong answer, a leak, a timeout or an out-of-memory, or if it did not get
# to fuzz at all; the input that found something is kept as
# build/fuzz/runs/<target>/crash-* (or leak-*, timeout-*, oom-*).
#
#   scripts/run-fuzzers.sh [seconds of fuzzing per target (20)] [targets at once (1)]
#   scripts/run-fuzzers.sh merge
#
# The seconds are fuzzing time: loading the corpora comes on top of them. A
# target with a dictionary, fuzz/<target>.dict, runs with it. The corpus
# each run grows is kept in build/fuzz/runs/<target>/corpus/ and reused by
# the next run; the committed corpus is never written to, except by `merge`,
# which replaces fuzz/corpus/<target>/ by a small set of inputs from it and
# the grown corpus that reaches every edge of the code they reach (libFuzzer's
# -merge=1; how often an edge runs is left for the fuzzing to find again, so
# that a handful of inputs, not hundreds, stand for each target).
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

# The options every run of a target gets: its dictionary, and the longest
# input it is given. A placement input of 512 bytes already holds 64 labels
# and the 3D scene; longer ones only make each run slower.
options_of() {
    local target=$1 max_len=1024
    if [ "$target" = label_placement ]; then
        max_len=512
    fi
    echo "-max_len=$max_len -timeout=10 -rss_limit_mb=2048"
    if [ -f "fuzz/$target.dict" ]; then
        echo "-dict=fuzz/$target.dict"
    fi
}

if [ "$mode" = merge ]; then
    for binary in "${binaries[@]}"; do
        target=${binary##*/varnek_fuzz_}
        merged=$(mktemp -d)
        mkdir -p "build/fuzz/runs/$target/corpus"
        # shellcheck disable=SC2046
        "$binary" -merge=1 -use_counters=0 $(options_of "$target") \
            "$merged" "fuzz/corpus/$target" "build/fuzz/runs/$target/corpus" \
            >"build/fuzz/runs/$target/merge.log" 2>&1
        if [ -z "$(ls -A "$merged")" ]; then
            echo "$target: the merge kept nothing, the corpus is left as it was" >&2
            exit 1
        fi
        rm -f "fuzz/corpus/$target"/*
        mv "$merged"/* "fuzz/corpus/$target/"
        rmdir "$merged"
        echo "$target: $(find "fuzz/corpus/$target" -type f | wc -l) inputs kept;" \
            "$(grep -o 'MERGE-OUTER: [0-9]* new files with [0-9]* new features' \
                "build/fuzz/runs/$target/merge.log" | tail -1)"
    done
    exit 0
fi

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

run_one() {
    local binary=$1 target=${1##*/varnek_fuzz_}
    local dir=build/fuzz/runs/$target
    mkdir -p "$dir/corpus"
    rm -f "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-* "$dir"/*.status "$dir"/*.log

    # Every committed input, one by one: libFuzzer names each it ran.
    local inputs status=0 start replay_ms
    mapfile -t inputs < <(find "fuzz/corpus/$target" -type f | sort)
    start=$(now_ms)
    # Without inputs libFuzzer would fuzz instead, for ever.
    : >"$dir/replay.log"
    if [ ${#inputs[@]} -gt 0 ]; then
        # shellcheck disable=SC2046
        "$binary" $(options_of "$target") -artifact_prefix="$dir/" "${inputs[@]}" \
            >"$dir/replay.log" 2>&1 || status=$?
    fi
    replay_ms=$(($(now_ms) - start))
    echo "$status ${#inputs[@]} $(grep -c '^Executed ' "$dir/replay.log") $replay_ms" \
        >"$dir/replay.status"

    # Fuzzing: libFuzzer counts its time from its start, so the time it takes
    # to load the committed and the grown corpus (estimated from the replay)
    # is added to the fuzzing time.
    local known load_s
    known=$(find "$dir/corpus" -type f | wc -l)
    load_s=$(((replay_ms * (${#inputs[@]} + known) / (${#inputs[@]} > 0 ? ${#inputs[@]} : 1)) / 1000 + 1))
    status=0
    # shellcheck disable=SC2046
    "$binary" -max_total_time=$((seconds + load_s)) $(options_of "$target") \
        -print_final_stats=1 -artifact_prefix="$dir/" \
        "$dir/corpus" "fuzz/corpus/$target" >"$dir/fuzz.log" 2>&1 || status=$?
    echo "$status" >"$dir/fuzz.status"
}

pids=()
for binary in "${binaries[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    echo "running the corpus of ${binary##*/}, then fuzzing it for ${seconds}s"
    run_one "$binary" &
    pids+=($!)
done
wait

failed=0
printf '\n%-20s %15s %9s %11s %9s %7s  %s\n' \
    target 'inputs run' 'replay s' 'fuzz runs' 'exec/s' corpus result
for binary in "${binaries[@]}"; do
    target=${binary##*/varnek_fuzz_}
    dir=build/fuzz/runs/$target
    read -r replay_status committed ran replay_ms <"$dir/replay.status"
    fuzz_status=$(cat "$dir/fuzz.status")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/fuzz.log" | tail -1)
    inited=$(sed -n 's/^#\([0-9]*\)[[:space:]]*INITED.*/\1/p' "$dir/fuzz.log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/fuzz.log" | tail -1)
    fuzzed=$((${runs:-0} - ${inited:-0}))
    corpus=$(find "$dir/corpus" -type f | wc -l)
    findings=$(find "$dir" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    result=ok
    if [ "$replay_status" -ne 0 ] || [ "$ran" -ne "$committed" ]; then
        result="CORPUS NOT RUN WHOLE (exit $replay_status, see $dir/replay.log)"
        log=$dir/replay.log
    elif [ "$fuzz_status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        result="FINDING (exit $fuzz_status, see $dir/fuzz.log)"
        log=$dir/fuzz.log
    elif [ -z "$inited" ] || [ "$fuzzed" -le 0 ]; then
        result="NO FUZZING (see $dir/fuzz.log)"
        log=$dir/fuzz.log
    fi
    if [ "$result" != ok ]; then
        failed=1
        grep -E 'ERROR|runtime error|check failed' "$log" | head -5 || true
    fi
    printf '%-20s %15s %9s %11s %9s %7s  %s\n' "$target" "$ran of $committed" \
        "$((replay_ms / 1000)).$(printf '%03d' $((replay_ms % 1000)) | cut -c1)" \
        "$fuzzed" "${speed:-?}" "$corpus" "$result"
done
exit $failed
