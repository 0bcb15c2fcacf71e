#!/usr/bin/env bash
# Renders the 128-pixel PNG of the application icon from its SVG, for the hicolor theme.
# The PNG is committed; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages librsvg2-bin

icons=data/icons/hicolor
rsvg-convert --width 128 --height 128 --format png \
    --output "$icons/128x128/apps/io.github.quenlow.Example.png" \
    "$icons/scalable/apps/io.github.quenlow.Example.svg"
