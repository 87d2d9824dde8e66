#!/usr/bin/env bash
# Compares the shared library of a build with debug information (default
# build/dev) against the stored ABI of its soname, abi/<soname>.abi, with
# abidiff from abigail-tools. Additions (new functions, variables, types)
# pass and are listed; anything removed or changed fails, as does a soname
# without a stored ABI. scripts/update-abi-baseline.sh writes the baseline.
# The private types named in abi/private-types.abignore are not compared.
#
#   scripts/check-abi.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
library=$build/libvarnek.so

soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
baseline=abi/$soname.abi
if [ ! -f "$baseline" ]; then
    echo "no stored ABI for $soname: run scripts/update-abi-baseline.sh and commit $baseline" >&2
    exit 1
fi

status=0
report=$(abidiff --suppressions abi/private-types.abignore "$baseline" "$library") || status=$?
# abidiff's exit status is a bit set: 1 error, 2 usage error, 4 some ABI
# change, 8 a change known to be incompatible.
if [ $((status & 3)) -ne 0 ]; then
    echo "$report"
    echo "abidiff could not compare $library with $baseline (exit $status)" >&2
    exit 1
fi
# Bit 4 alone also covers changed types and functions, which can break
# callers as well: only a report that adds and neither removes nor changes
# anything passes.
if [ $((status & 8)) -ne 0 ] || echo "$report" | grep -Eq '(^|[ ,])[1-9][0-9]* (Removed|Changed)'; then
    echo "$report"
    echo "$library breaks the ABI stored in $baseline." >&2
    echo "An incompatible change needs a new major version and a new baseline" >&2
    echo "(scripts/update-abi-baseline.sh)." >&2
    exit 1
fi
if [ $((status & 4)) -ne 0 ]; then
    echo "$report"
    echo "$library adds to the ABI stored in $baseline: compatible"
else
    echo "$library has the ABI stored in $baseline"
fi
