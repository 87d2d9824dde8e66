#!/usr/bin/env bash
# Compares each shared library of a build with debug information (default
# build/dev), the library and its translator stand-in, against the stored
# ABI of its soname, abi/<soname>.abi, with abidiff from abigail-tools.
# Additions (new functions, variables, types) pass and are listed; anything
# removed or changed fails, as does a soname without a stored ABI.
# scripts/update-abi-baseline.sh writes the baselines. The private types
# named in abi/private-types.abignore are not compared.
#
#   scripts/check-abi.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}

# Compares one library with its baseline; fails on a break.
check_library() {
    local library=$1 soname baseline report status=0
    soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
    baseline=abi/$soname.abi
    if [ ! -f "$baseline" ]; then
        echo "no stored ABI for $soname: run scripts/update-abi-baseline.sh and commit $baseline" >&2
        return 1
    fi

    report=$(abidiff --suppressions abi/private-types.abignore "$baseline" "$library") || status=$?
    # abidiff's exit status is a bit set: 1 error, 2 usage error, 4 some ABI
    # change, 8 a change known to be incompatible.
    if [ $((status & 3)) -ne 0 ]; then
        echo "$report"
        echo "abidiff could not compare $library with $baseline (exit $status)" >&2
        return 1
    fi
    # Bit 4 alone also covers changed types and functions, which can break
    # callers as well: only a report that adds and neither removes nor changes
    # anything passes.
    if [ $((status & 8)) -ne 0 ] || echo "$report" | grep -Eq '(^|[ ,])[1-9][0-9]* (Removed|Changed)'; then
        echo "$report"
        echo "$library breaks the ABI stored in $baseline." >&2
        echo "An incompatible change needs a new major version and a new baseline" >&2
        echo "(scripts/update-abi-baseline.sh)." >&2
        return 1
    fi
    if [ $((status & 4)) -ne 0 ]; then
        echo "$report"
        echo "$library adds to the ABI stored in $baseline: compatible"
    else
        echo "$library has the ABI stored in $baseline"
    fi
}

status=0
for library in "$build/libvarnek.so" "$build/varnek/services/libvarnek_translator.so"; do
    check_library "$library" || status=1
done
exit $status
