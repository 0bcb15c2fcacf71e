#!/usr/bin/env bash
# Renders the README's pictures into docs/ with the program's own drawing code, offscreen
# on Mesa's software OpenGL: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

# The renderer is built with the tests, so it needs what the tests need.
require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build/pictures -DCMAKE_BUILD_TYPE=Release -DQUENLOW_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/pictures -j "$(nproc)" --target render_pictures
mkdir -p docs
build/pictures/tests/pixels/render_pictures docs
