#!/usr/bin/env bash
# Checks that the shared library exports the same interface whichever
# compiler, build type or sanitizer made it: runs the exports check on
# libvarnek.so in each given build folder and compares the exported names.
#
#   scripts/check-exports-agree.sh build/dev build/clang build/asan ...
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 <build folder> <build folder>..." >&2; exit 2; }

lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT
first=""
status=0
for build in "$@"; do
    list=$lists/$(echo "$build" | tr / _).txt
    cmake -DLIBRARY="$build/libvarnek.so" -DLIST="$list" -P tests/ExportedSymbols.cmake >/dev/null
    if [ -z "$first" ]; then
        first=$build
    elif ! diff -u --label "$first" --label "$build" "$lists/$(echo "$first" | tr / _).txt" "$list"; then
        status=1
    fi
done
[ $status -eq 0 ] && echo "$# builds export the same $(wc -l < "$list") symbols"
exit $status
