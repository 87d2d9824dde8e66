#!/usr/bin/env bash
# Builds the Debian packages the way Debian's own build of the library
# would: with the compiler, preprocessor and linker flags dpkg-buildflags
# gives (hardening on, bind now) and warnings as errors, into a build folder
# (default build/debian). Then checks them as the test command does: control
# fields, files, lintian without errors or warnings, a consumer built
# against them, and every program and library bound at load time.
#
#   scripts/build-debian-packages.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/debian}

eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# CMake takes the compiler's and the linker's flags from the environment;
# the preprocessor's go with the compiler's.
export CXXFLAGS="$CPPFLAGS $CXXFLAGS" LDFLAGS

# Debian's build type None: the flags above and nothing else. Only what the
# packages hold is built, not the unit tests, also when cpack installs.
cmake -S . -B "$build" --fresh -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=None \
    -DVARNEK_WARNINGS_AS_ERRORS=ON -DVARNEK_BUILD_EXAMPLES=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$build" --parallel 2 \
    --target varnek varnek_translator varnek-labels varnek_labels_man_page
ctest --test-dir "$build" --output-on-failure --no-tests=error -R '^packaging\.debian_package$'
