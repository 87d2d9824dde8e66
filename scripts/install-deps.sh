#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the tool, the benchmarks
# and the fuzzers need. Idempotent and non-interactive: packages already
# present are left alone, and apt-get runs only when something is missing.
set -euo pipefail

packages=(
    g++ clang clang-tidy clang-format libclang-rt-14-dev lintian
    cmake make pkg-config dpkg-dev file doxygen
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libexpat1-dev
    librsvg2-bin libcairo2-dev
    valgrind abigail-tools
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
