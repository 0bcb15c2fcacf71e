#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

TEST_PACKAGES=(libgtest-dev libbenchmark-dev libegl-dev libopengl-dev libpng-dev clang libclang-rt-14-dev xvfb libx11-dev libxtst-dev)  # further test packages are added here
require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs=$(nproc)
for preset in release sanitize; do
    echo "== $preset build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done

bash scripts/fuzz.sh  # the event-stream fuzzer: corpus replay and a bounded run
