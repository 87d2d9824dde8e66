#!/usr/bin/env bash
# Checks formatting against .clang-format and runs clang-tidy with the
# repository's .clang-tidy over every source of the library, the stand-ins and
# the tool. Needs a configured build directory with compile_commands.json
# (default: build/clang, made by `cmake --preset clang`).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/clang}

mapfile -t sources < <(git ls-files '*.h' '*.cpp')
clang-format --dry-run --Werror "${sources[@]}"

if [ ! -f "$build_dir/compile_commands.json" ]; then
    cmake --preset "$(basename "$build_dir")" >/dev/null
fi
# Only translation units of the project itself; the packaging consumer is
# built outside this tree's compile database.
mapfile -t units < <(git ls-files '*.cpp' | grep -v '^tests/packaging/')
run-clang-tidy -quiet -p "$build_dir" -j 2 "${units[@]/#/$PWD/}" >"$build_dir/clang-tidy.log" 2>&1 || {
    grep -E 'warning:|error:' "$build_dir/clang-tidy.log" | sort -u | head -50
    echo "clang-tidy found problems (full log: $build_dir/clang-tidy.log)"
    exit 1
}
echo "format and clang-tidy clean"
