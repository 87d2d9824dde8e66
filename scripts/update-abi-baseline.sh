#!/usr/bin/env bash
# Writes the stored ABI of each shared library, the library and its
# translator stand-in, abi/<soname>.abi, from a build with debug information
# (default build/dev, the README's g++ Debug build), with abidw from
# abigail-tools. scripts/check-abi.sh compares every build against it.
#
#   scripts/update-abi-baseline.sh [build folder]
#
# Additions to the interface do not need a new baseline (the check lets
# them pass), but recording them keeps the next report short. An
# incompatible change needs a new major version (project(VERSION) in
# CMakeLists.txt): the soname changes with it, and so does the file name
# here, so that the old baseline is never overwritten by accident.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}

if [ "$build" = build/dev ]; then
    cmake --preset dev >/dev/null
    cmake --build --preset dev --target varnek varnek_translator
fi
mkdir -p abi
for library in "$build/libvarnek.so" "$build/varnek/services/libvarnek_translator.so"; do
    soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
    abidw --no-corpus-path --no-comp-dir-path --no-show-locs --out-file "abi/$soname.abi" "$library"
    echo "wrote abi/$soname.abi from $library"
done
