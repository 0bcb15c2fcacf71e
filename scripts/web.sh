#!/usr/bin/env bash
# Builds the program's web page with emscripten into build/web/site/ and serves it at
# http://127.0.0.1:${PORT:-8000}/ until Ctrl-C; with --build-only it builds and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

build_only=false
case "${1:-}" in
"") ;;
--build-only) build_only=true ;;
*)
    echo "usage: scripts/web.sh [--build-only]" >&2
    exit 2
    ;;
esac

require_packages "${WEB_PACKAGES[@]}"
# Debian's emscripten finds its JavaScript modules only through NODE_PATH; the preset sets
# it too, for builds by hand.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"

site=build/web/site
echo "built $site: $(cat "$site"/* | wc -c) bytes in all ($(cd "$site" && echo *))"
if $build_only; then
    exit 0
fi
port=${PORT:-8000}
echo "Serving the program at http://127.0.0.1:$port/ until Ctrl-C"
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
