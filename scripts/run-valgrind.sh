#!/usr/bin/env bash
# Runs every unit-test executable of a build (default build/dev, made by the
# README's test command) under valgrind memcheck: any invalid access, use of
# uninitialised memory or definite leak fails. The allocation tests keep
# their own operator new (valgrind would otherwise put its own in place).
# The concurrency test is left to ThreadSanitizer: valgrind runs its threads
# one at a time, which takes many minutes and proves nothing about races.
#
#   scripts/run-valgrind.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}

mapfile -t tests < <(find "$build" -type f -perm -u+x -name '*_test' -not -path '*/packaging/*' \
    -not -name varnek_concurrency_test | sort)
[ ${#tests[@]} -gt 0 ] || { echo "no test executables in $build" >&2; exit 1; }
status=0
for test in "${tests[@]}"; do
    start=$SECONDS
    if valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
        --soname-synonyms=somalloc=nouserintercepts "$test" --gtest_brief=1 >"$test.valgrind.log" 2>&1; then
        echo "ok   ${test#"$build"/} ($((SECONDS - start)) s)"
    else
        echo "FAIL ${test#"$build"/} ($((SECONDS - start)) s), log: $test.valgrind.log"
        tail -n 30 "$test.valgrind.log"
        status=1
    fi
done
exit $status
