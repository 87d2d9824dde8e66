#!/usr/bin/env bash
# Checks that builds compute the same bits: runs the digest program of label
# shapes and seeded placements (tests/determinism) of each given build folder
# and compares what they print. Meant for builds that differ in compiler,
# build type or the placer's route (vector lanes or the plain loop).
#
#   scripts/compare-placements.sh build/dev build/clang build/gcc11 build/scalar
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 <build folder> <build folder>..." >&2; exit 2; }

first=""
status=0
for build in "$@"; do
    digest=$("$build/tests/determinism/varnek_placement_hash")
    if [ -z "$first" ]; then
        first=$digest
        echo "$digest"
    elif [ "$digest" != "$first" ]; then
        printf '%s computes other bits:\n%s\n' "$build" "$digest" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "$# builds agree"
exit $status
