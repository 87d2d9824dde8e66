#!/usr/bin/env bash
# Checks that the shared libraries export the same interface whichever
# compiler, build type or sanitizer made them: runs the exports check on
# libvarnek.so and on the translator stand-in, each with its version node,
# in each given build folder and compares the exported names.
#
#   scripts/check-exports-agree.sh build/dev build/clang build/asan ...
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 <build folder> <build folder>..." >&2; exit 2; }

lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT
status=0
# library in the build folder, its version node
for library in libvarnek.so:VARNEK_1 varnek/services/libvarnek_translator.so:VARNEK_TRANSLATOR_1; do
    path=${library%%:*}
    first=""
    for build in "$@"; do
        list=$lists/$(echo "$build/$path" | tr / _).txt
        cmake -DLIBRARY="$build/$path" -DVERSION_NODE="${library##*:}" -DLIST="$list" \
            -P tests/ExportedSymbols.cmake >/dev/null
        if [ -z "$first" ]; then
            first=$list
        elif ! diff -u --label "$1/$path" --label "$build/$path" "$first" "$list"; then
            status=1
        fi
    done
    [ $status -eq 0 ] && echo "$# builds export the same $(wc -l < "$list") symbols from $(basename "$path")"
done
exit $status
