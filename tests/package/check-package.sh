#!/usr/bin/env bash
# Checks the Debian package that scripts/package.sh built from the release build: Debian's
# own checkers on the package and on its desktop files, whether its dependencies can be met,
# and the unpacked binary, started from the menu entry's Exec line, in a window under a
# private X server. Every check runs; each failure says what failed, and any fails the run.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source scripts/lib/packages.sh

require_packages "${PACKAGE_PACKAGES[@]}" "${PACKAGE_CHECK_PACKAGES[@]}" xvfb

build=build/release
window_test=$build/tests/window/program_window_test
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null)
deb=build/package/quenlow-example_${version}_$(dpkg --print-architecture).deb
app_id=io.github.quenlow.Example

echo "== package checks: $deb =="
if [ -z "$version" ] || [ ! -f "$deb" ]; then
    echo "package: FAIL: no package $deb; run scripts/package.sh after the release build"
    exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quenlow-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
if ! dpkg-deb -x "$deb" "$root"; then
    echo "package: FAIL: dpkg-deb cannot unpack $deb"
    exit 1
fi
desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
manpage=$root/usr/share/man/man1/quenlow-example.1.gz

passed=0
failed=0
# check NAME COMMAND...: runs the command with its output in a log, and on failure shows
# the log and names the check.
check() {
    local name=$1
    shift
    local log=$scratch/check.log
    if "$@" >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        sed 's/^/    /' "$log"
        echo "FAIL: $name"
    fi
}

# Lintian's errors and warnings fail; its informational tags are shown.
lintian_clean() {
    lintian --tag-display-limit 0 --display-info --fail-on error,warning "$deb" 2>&1 |
        grep -v '^running with root privileges' | tee "$scratch/lintian.log"
    local status=${PIPESTATUS[0]}
    [ "$status" -eq 0 ] || echo "lintian exited with status $status"
    return "$status"
}

# Runs a command that prints nothing when the file is good: any output is a failure.
quiet() {
    local out status=0
    out=$("$@" 2>&1) || status=$?
    [ -n "$out" ] && echo "$out"
    [ "$status" -eq 0 ] || { echo "exit status $status"; return 1; }
    [ -z "$out" ]
}

# Its informational issues fail too (a missing content rating is one); only pedantic
# ones pass, such as the capital letter that the reverse-DNS id ends with.
metainfo_valid() {
    local out status=0
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || status=$?
    echo "$out"
    [ "$status" -eq 0 ] && ! grep -qE '^[EWI]: ' <<<"$out"
}

man_renders_cleanly() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$manpage" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
    # The page names its program and says what the exit status means.
    local text
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manpage" 2>/dev/null)
    if ! grep -q '^NAME' <<<"$text" || ! grep -q '^EXIT STATUS' <<<"$text"; then
        echo "the page has no NAME or EXIT STATUS section"
        return 1
    fi
}

# Every shared library the binary needs belongs to a package named in Depends.
depends_cover_libraries() {
    local depends libraries library path owner uncovered=0
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    libraries=$(readelf -d "$root/usr/bin/quenlow-example" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$libraries" ] || { echo "the binary needs no shared library?"; return 1; }
    for library in $libraries; do
        path=$(ldconfig -p | awk -v l="$library" '$1 == l && /x86-64|64bit/ {print $NF; exit}')
        [ -n "$path" ] || path=$(ldconfig -p | awk -v l="$library" '$1 == l {print $NF; exit}')
        # With merged /usr a library's path in dpkg's lists can be either one.
        owner=$( (dpkg -S "$path" || dpkg -S "$(readlink -f "$path")") 2>/dev/null |
            head -n 1 | cut -d: -f1)
        if [ -z "$owner" ]; then
            echo "$library: no package owns it"
            uncovered=1
        elif ! grep -qE "(^|, )$owner( |,|$)" <<<"$depends"; then
            echo "$library is in $owner, which Depends does not name"
            uncovered=1
        fi
    done
    return "$uncovered"
}

apt_can_install() {
    # Already installed, apt has nothing to simulate but still checks the dependencies.
    apt-get install --simulate --no-install-recommends "$(realpath "$deb")" || return 1
}

changelog_matches_version() {
    zcat "$root/usr/share/doc/quenlow-example/changelog.gz" >"$scratch/changelog" || return 1
    local top
    top=$(dpkg-parsechangelog -l "$scratch/changelog" -S Version) || return 1
    [ "$top" = "$version" ] || { echo "changelog's latest entry is $top, the package is $version"; return 1; }
    local release
    release=$(grep -m 1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
    [ "$release" = "$version" ] ||
        { echo "the metadata's latest release is ${release:-missing}, the package is $version"; return 1; }
    zcat "$manpage" | grep -q "^\.TH .*\"Quenlow Example $version\"" ||
        { echo "the manual page's .TH line does not name version $version"; return 1; }
}

# The menu entry names an icon the package installs, and the metadata names the entry.
desktop_names_hold() {
    local icon found=0 size
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    for size in scalable/apps/$icon.svg 128x128/apps/$icon.png; do
        if [ -f "$root/usr/share/icons/hicolor/$size" ]; then
            found=$((found + 1))
        else
            echo "Icon=$icon, but the package has no usr/share/icons/hicolor/$size"
        fi
    done
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        { echo "the metadata's launchable is not $app_id.desktop"; return 1; }
    [ "$found" -eq 2 ]
}

# The menu entry's Exec command, looked up on a PATH that starts with the package's
# usr/bin, must be the packaged binary; the window test then runs it under its own Xvfb:
# the window opens with its first frame, and Escape, or closing the window, ends it with
# status 0.
exec_line_starts_the_program() {
    local exec command
    exec=$(sed -n 's/^Exec=//p' "$desktop")
    read -r -a command <<<"$exec"
    [ "${#command[@]}" -eq 1 ] || { echo "Exec=$exec: expected the bare command"; return 1; }
    local program
    program=$(PATH="$root/usr/bin:$PATH" command -v "${command[0]}") ||
        { echo "Exec=$exec: no such command in the package"; return 1; }
    [ "$program" = "$root/usr/bin/quenlow-example" ] ||
        { echo "Exec=$exec runs $program, not the packaged binary"; return 1; }
    [ -x "$window_test" ] || { echo "no $window_test: build the release tests first"; return 1; }
    QUENLOW_PROGRAM=$program "$window_test" \
        --gtest_filter='RunningProgram.OpensOneWindow*:RunningProgram.Closing*:Keys.Escape*'
}

# `cmake --install` under another prefix puts the same files in the same places as the
# package under /usr, less Debian's two documents.
install_matches_package() {
    local prefix=$scratch/prefix
    cmake --install "$build" --prefix "$prefix" >/dev/null || return 1
    diff -u <(cd "$root/usr" && find . -type f ! -path './share/doc/*' | sort) \
        <(cd "$prefix" && find . -type f | sort) &&
        echo "the same $(cd "$prefix" && find . -type f | wc -l) files"
}

check "lintian: no errors or warnings" lintian_clean
[ "$failed" -eq 0 ] && sed 's/^/    lintian: /' "$scratch/lintian.log"  # its info tags
check "the changelog, the metadata's latest release and the manual page are of version $version" \
    changelog_matches_version
check "Depends names the package of every shared library the binary needs" depends_cover_libraries
check "cmake --install under another prefix installs what the package holds" install_matches_package
check "apt-get install --simulate: the dependencies can be met" apt_can_install
check "desktop-file-validate: the menu entry" quiet desktop-file-validate "$desktop"
check "appstreamcli validate --no-net: the metadata, with no issue above pedantic" metainfo_valid
check "the manual page renders without warnings" man_renders_cleanly
check "the menu entry's icon and the metadata's launchable are in the package" desktop_names_hold
check "the menu entry's Exec line starts the packaged binary; Escape or closing ends it with status 0" \
    exec_line_starts_the_program

echo "package checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
