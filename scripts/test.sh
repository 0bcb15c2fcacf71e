#!/usr/bin/env bash
# Builds everything and runs every test: first the checks of the shell scripts and the
# forge's workflows, then the optimised build, the web page in Chromium,
# Firefox and WebKit, then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then
# the Debian package built from the optimised build and its checks, then a bounded run of
# the event fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" \
    "${WEB_TEST_PACKAGES[@]}"

bash scripts/lint.sh  # every shell script and the workflows, checked offline

jobs=$(nproc)
for preset in release sanitize; do
    echo "== $preset build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
    if [ "$preset" = release ]; then
        # The page in three browser engines, judged against the release build's offscreen
        # frames.
        echo "== web page in Chromium, Firefox and WebKit =="
        bash scripts/web.sh --build-only
        # The accessibility audit the checks run in the page, pinned.
        require_npm_packages axe-core@4.14.1
        /usr/bin/python3 tests/web/browser_test.py build/web/site \
            build/release/tests/web/web_frame_check
    fi
done

bash scripts/package.sh              # the Debian package, from the release build
bash tests/package/check-package.sh  # Debian's checkers, and the packaged program in a window
bash scripts/fuzz.sh  # the event-stream fuzzer: corpus replay and a bounded run
