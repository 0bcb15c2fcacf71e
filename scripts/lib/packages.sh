# shellcheck shell=bash
# Installs the Debian packages a script needs, or says which are missing and stops.
# Sourced by the scripts beside it; `require_packages NAME...` is the one entry point.
# The package lists below are read by the scripts that source this file.
# shellcheck disable=SC2034

require_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' &&
            [[ " ${missing[*]} " != *" $package "* ]]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local apt=()
    if [ "$(id -u)" -eq 0 ]; then
        apt=(apt-get)
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        apt=(sudo apt-get)
    fi
    if ! command -v apt-get >/dev/null 2>&1 || [ ${#apt[@]} -eq 0 ]; then
        echo "error: missing Debian packages: ${missing[*]}" >&2
        echo "Install them with:  sudo apt-get install ${missing[*]}" >&2
        echo "or run this script as root (or with password-less sudo) to install them." >&2
        exit 1
    fi

    echo "Installing missing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${apt[@]}" update -qq || { echo "error: apt-get update failed" >&2; exit 1; }
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
        echo "error: could not install: ${missing[*]}" >&2
        exit 1
    }
}

# What building the program needs.
BUILD_PACKAGES=(cmake make g++ freeglut3-dev libgl1-mesa-dev libgl1-mesa-dri)

# What the tests, the offscreen renderer and the fuzzer need besides.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev libegl-dev libopengl-dev libpng-dev clang libclang-rt-14-dev xvfb libx11-dev libxtst-dev)

# What building the Debian package needs besides the release build: dpkg-shlibdeps for its
# dependencies, and file, with which CPack tells the binaries from the other files.
PACKAGE_PACKAGES=(dpkg-dev file)

# What checking the package needs besides the tests' packages.
PACKAGE_CHECK_PACKAGES=(lintian desktop-file-utils appstream man-db)

# What the web page needs: emscripten to build it, rsvg-convert for its icons, Python to
# serve it.
WEB_PACKAGES=(cmake make emscripten librsvg2-bin python3)

# What the browser tests need besides: Chromium and WebKitGTK driven through WebDriver, the
# latter in a window on a private X server, and Firefox ESR through WebDriver BiDi.
WEB_TEST_PACKAGES=(chromium chromium-driver python3-selenium webkit2gtk-driver xvfb firefox-esr
    python3-websockets)

# What checking the shell scripts needs; the workflows' checker comes from npm
# (require_npm_packages).
LINT_PACKAGES=(shellcheck)

# Installs pinned npm packages (NAME@VERSION ...) into build/npm, once; a script then finds
# them under build/npm/node_modules. Needs Node.js and npm, installed as Debian packages
# where the machine has neither.
NPM_PREFIX=build/npm
require_npm_packages() {
    command -v npm >/dev/null 2>&1 || require_packages nodejs npm
    local missing=()
    local package
    for package in "$@"; do
        local manifest="./$NPM_PREFIX/node_modules/${package%@*}/package.json"
        if [ "$(node -p "try { require('$manifest').version } catch (e) { '' }" 2>/dev/null)" \
            != "${package##*@}" ]; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing npm packages into $NPM_PREFIX: ${missing[*]}"
    mkdir -p "$NPM_PREFIX"
    npm install --prefix "$NPM_PREFIX" --no-save --no-audit --no-fund --loglevel=error \
        "${missing[@]}" >/dev/null || {
        echo "error: could not install the npm packages: ${missing[*]}" >&2
        exit 1
    }
}
