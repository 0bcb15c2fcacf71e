#!/usr/bin/env bash
# Builds the Debian package build/package/quenlow-example_VERSION_ARCH.deb from the release
# build, with CPack. Install it with: sudo apt-get install ./build/package/quenlow-example_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

# The release build is configured with its tests, so it needs what the tests need.
require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

echo "== package =="
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
rm -f build/package/*.deb
(cd build/release && cpack -G DEB >cpack.log 2>&1) || {
    cat build/release/cpack.log >&2
    echo "package: FAIL: CPack could not build the package" >&2
    exit 1
}
ls build/package/*.deb
