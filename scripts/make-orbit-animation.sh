#!/usr/bin/env bash
# Draws one full turn of the orbit example (examples/orbit_render.cpp, a
# release build) and assembles the README's animation from its frames: an
# animated WebP, lossy, looping. Installs Debian's webp tools (img2webp) with
# apt-get when they are missing. About a minute on a quiet machine, most of
# it the build; the test command draws only a few frames.
#
#   scripts/make-orbit-animation.sh [output]   (default docs/orbit.webp)
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/orbit.webp}
frames=120       # one turn; 3 degrees a frame keeps the fades and the history readable
frame_ms=80      # 12.5 frames a second: the turn takes 10 s
quality=60       # lossy WebP quality: the turn stays at about 2 MB

if ! command -v img2webp >/dev/null; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "installing: webp"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends webp
fi

build=build/release
cmake --preset release >/dev/null
cmake --build "$build" --target varnek_example_orbit_render
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/examples/varnek_example_orbit_render" "$frames" "$frames" "$work"
img2webp -loop 0 -lossy -q "$quality" -m 6 -d "$frame_ms" "$work"/orbit_*.png -o "$output"
echo "wrote $output ($(du -h "$output" | cut -f1))"
