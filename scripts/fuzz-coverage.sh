#!/usr/bin/env bash
# Measures which of the library's exported functions the fuzz targets reach.
# Builds the targets with source coverage (preset `fuzz-coverage`, clang),
# runs each one once over its committed corpus fuzz/corpus/<target>/ (no
# fuzzing: every input once, so the answer depends on the corpus only), and
# prints per target the exported functions it reached and the library's line
# coverage, then every exported function that no target reaches. Exits
# non-zero if one is left unreached.
#
#   scripts/fuzz-coverage.sh [corpus root (fuzz/corpus)]
#
# The merged profiles and the per-target lists of reached functions are left
# in build/fuzz-coverage/coverage/.
set -euo pipefail
cd "$(dirname "$0")/.."
corpora=${1:-fuzz/corpus}
build=build/fuzz-coverage
out=$build/coverage

cmake --preset fuzz-coverage >/dev/null
cmake --build --preset fuzz-coverage >/dev/null
rm -rf "$out"
mkdir -p "$out"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Exported functions, by mangled name. A constructor or destructor is one
# function whatever its variant (C1/C2, D0/D1/D2): coverage counts the one
# body the compiler keeps.
library=$build/libvarnek.so
normalise() { sed -E 's/C1E/C2E/; s/D[01]E/D2E/'; }
nm -D --defined-only "$library" | awk '$2 == "T" || $2 == "W" { print $3 }' | sed 's/@.*//' |
    normalise | sort -u >"$out/exported"
total=$(wc -l <"$out/exported")

: >"$out/reached-by-any"
printf '%-22s %8s %9s %11s\n' target inputs "exported" "lib lines"
for binary in $(find "$build/fuzz" -maxdepth 1 -type f -name 'varnek_fuzz_*' -perm -u+x | sort); do
    target=${binary##*/varnek_fuzz_}
    inputs=$(find "$corpora/$target" -type f | wc -l)
    LLVM_PROFILE_FILE="$out/$target.profraw" "$binary" -runs=0 "$corpora/$target" \
        >"$out/$target.log" 2>&1
    llvm-profdata merge -sparse "$out/$target.profraw" -o "$out/$target.profdata" \
        2>>"$out/$target.log"
    # Functions with a non-zero entry count, by mangled name.
    llvm-cov export -format=text -skip-expansions -instr-profile="$out/$target.profdata" \
        "$library" 2>>"$out/$target.log" |
        python3 -c '
import json, sys
for data in json.load(sys.stdin)["data"]:
    for function in data["functions"]:
        if function["count"] > 0:
            print(function["name"].split(":")[-1])' | normalise | sort -u >"$out/$target.functions"
    comm -12 "$out/exported" "$out/$target.functions" >"$out/$target.reached"
    cat "$out/$target.reached" >>"$out/reached-by-any"
    lines=$(llvm-cov report -instr-profile="$out/$target.profdata" "$library" 2>>"$out/$target.log" |
        awk '$1 == "TOTAL" { print $10 }')
    printf '%-22s %8s %5s/%-3s %11s\n' "$target" "$inputs" "$(wc -l <"$out/$target.reached")" \
        "$total" "$lines"
done
sort -u -o "$out/reached-by-any" "$out/reached-by-any"
comm -23 "$out/exported" "$out/reached-by-any" >"$out/unreached"
llvm-profdata merge -sparse "$out"/*.profdata -o "$out/all.profdata" 2>>"$out/all.log"
lines=$(llvm-cov report -instr-profile="$out/all.profdata" "$library" 2>>"$out/all.log" |
    awk '$1 == "TOTAL" { print $10 }')
printf '%-22s %8s %5s/%-3s %11s
' "all targets" "" "$(wc -l <"$out/reached-by-any")" "$total" \
    "$lines"
if [ -s "$out/unreached" ]; then
    echo "never reached:"
    c++filt <"$out/unreached" | sed 's/^/  /'
    exit 1
fi
