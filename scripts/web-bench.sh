#!/usr/bin/env bash
# Times the web page's frames in headless Chromium beside the desktop build's same frames
# on Mesa offscreen, and the frame rates of drags on the page, in one run, and prints the
# tables. Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" \
    "${WEB_TEST_PACKAGES[@]}"
bash scripts/web.sh --build-only >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target frame_timing >/dev/null
/usr/bin/python3 bench/web_frame_timing.py build/web/site build/release/bench/frame_timing
