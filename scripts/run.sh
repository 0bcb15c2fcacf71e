#!/usr/bin/env bash
# Builds quenlow-example and runs it; arguments go to the toolkit (for example -display :1).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${BUILD_PACKAGES[@]}"
cmake --preset app >/dev/null
cmake --build --preset app -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [[ " $* " != *" -display "* ]]; then
    echo "Built build/app/quenlow-example, but there is no display to open its window on." >&2
    echo "Run it from a desktop session, or set DISPLAY (for example under Xvfb)." >&2
    exit 1
fi
exec build/app/quenlow-example "$@"
