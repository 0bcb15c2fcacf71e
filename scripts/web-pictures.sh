#!/usr/bin/env bash
# Takes the README's pictures of the web page in headless Chromium into docs/: the page
# beside its first frame, the page on a phone, the search stepped through to level 6,
# level 4 at its threshold step, the map and the other methods on the loop scene, the strip
# of levels, a guess round revealed and a level's pieces marked and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${WEB_PACKAGES[@]}" chromium chromium-driver python3-selenium
bash scripts/web.sh --build-only >/dev/null
/usr/bin/python3 tests/web/page_screenshot.py build/web/site docs
ls -l docs/web-page.png docs/web-phone.png docs/web-levels.png docs/web-steps.png \
    docs/web-map.png docs/web-methods.png docs/web-strip.png docs/web-round.png \
    docs/web-drops.png
