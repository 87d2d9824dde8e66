#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the tool, the examples,
# the benchmarks and the fuzzers need (the drawing examples: Cairo, and EGL
# and OpenGL ES 2 with Mesa's software renderer), and generates a locale with
# a decimal comma for the test that formats numbers under one. Idempotent and non-interactive:
# packages already present are left alone, apt-get runs only when something
# is missing, and the locale is generated only when it is not there.
set -euo pipefail

packages=(
    g++ g++-11 clang clang-tidy clang-format libclang-rt-14-dev lintian
    cmake make pkg-config dpkg-dev file doxygen
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libexpat1-dev
    librsvg2-bin libcairo2-dev libfreetype-dev libharfbuzz-dev fonts-dejavu-core
    libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
    valgrind abigail-tools locales
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed'; then
        missing+=("$package")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

if [ ${#missing[@]} -ne 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

comma_locale=de_DE.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "generating the locale $comma_locale"
    $sudo sed -i "s/^# *\($comma_locale UTF-8\)/\1/" /etc/locale.gen
    $sudo locale-gen >/dev/null
fi
