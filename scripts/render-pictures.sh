#!/usr/bin/env bash
# Renders the README's pictures into docs/ with the program's own drawing code, offscreen
# on Mesa's software OpenGL: no display is needed. Besides the still frames it renders the
# moving picture, docs/search-in-motion.gif: the query point once round the default curve,
# first with capsules and then with rounded boxes. The same sources give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

# The renderer is built with the tests, so it needs what the tests need; ImageMagick maps
# the frames to one palette and gifsicle puts them together.
require_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" imagemagick gifsicle

cmake -S . -B build/pictures -DCMAKE_BUILD_TYPE=Release -DQUENLOW_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/pictures -j "$(nproc)" --target render_pictures
mkdir -p docs

# 200 frames 40 ms apart: an 8-second lap, 4 seconds in each region mode, moving the query
# point about 8 pixels a frame.
frames=build/pictures/animation
rm -rf "$frames"
mkdir -p "$frames"
build/pictures/tests/pixels/render_pictures docs "$frames" 200

# ImageMagick 6 by its Debian name, so that no other `convert` on the PATH stands in. One
# palette for every frame, taken from every twentieth frame of both modes, and no
# dithering: a pixel that stays the same keeps its colour index, so gifsicle stores only
# what changes from one frame to the next.
magick=convert-im6.q16
all=("$frames"/frame-*.png)
sampled=()
for ((i = 0; i < ${#all[@]}; i += 20)); do
    sampled+=("${all[i]}")
done
"$magick" "${sampled[@]}" -append +dither -colors 256 -unique-colors "$frames/palette.png"
# shellcheck disable=SC2016  # expanded by the inner sh, one frame at a time
printf '%s\0' "${all[@]}" | xargs -0 -P "$(nproc)" -I{} \
    sh -c '"$0" "$1" +dither -remap "$2" "${1%.png}.gif"' "$magick" {} "$frames/palette.png"
gifsicle -O3 --delay 4 --loopcount=forever "$frames"/frame-*.gif >docs/search-in-motion.gif
echo "docs/search-in-motion.gif: $(stat -c %s docs/search-in-motion.gif) bytes"
