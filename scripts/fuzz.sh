#!/usr/bin/env bash
# Builds the event-stream fuzzer with clang in build/fuzz, replays every input of fuzz/corpus
# as a regression test, then fuzzes for FUZZ_SECONDS (60 by default) on every core. New
# inputs go to build/fuzz/corpus; the input of a crash goes to build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh

require_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

seconds=${FUZZ_SECONDS:-60}
build=build/fuzz
fuzzer=$build/fuzz/event_fuzzer

echo "== fuzz build =="
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_TESTING=OFF -DQUENLOW_BUILD_BENCHMARKS=OFF -DQUENLOW_FUZZ=ON >/dev/null
cmake --build "$build" --target event_fuzzer -j "$(nproc)"
mkdir -p "$build/corpus" "$build/artifacts"

echo "== fuzz: corpus replay, then $seconds s of fuzzing =="
# The first message of a failed run: a broken invariant, or a sanitizer's or libFuzzer's.
cause() {
    grep -m 1 -E 'broken invariant|ERROR: |runtime error' "$1" || echo "see $1"
}

if ! "$fuzzer" -runs=0 fuzz/corpus >"$build/replay.log" 2>&1; then
    tail -n 40 "$build/replay.log" >&2
    echo "fuzz: FAIL: an input of fuzz/corpus breaks the program: $(cause "$build/replay.log")"
    exit 1
fi
if ! "$fuzzer" -fork="$(nproc)" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="$build/artifacts/" "$build/corpus" fuzz/corpus >"$build/fuzz.log" 2>&1; then
    tail -n 40 "$build/fuzz.log" >&2
    echo "fuzz: FAIL: $(cause "$build/fuzz.log"); the input is in $build/artifacts"
    exit 1
fi

# Fork mode's progress lines read "#EXECUTIONS: cov: ..."; one plain pass over the corpus
# tells how many of the program's instrumented edges it reaches.
executions=$(grep -oE '^#[0-9]+:' "$build/fuzz.log" | tail -n 1 | tr -d '#:') || true
"$fuzzer" -runs=0 "$build/corpus" fuzz/corpus >"$build/coverage.log" 2>&1 || true
edges=$(grep -oE 'DONE +cov: [0-9]+' "$build/coverage.log" | grep -oE '[0-9]+$') || true
all=$(grep -oE '[0-9]+ inline 8-bit counters' "$build/coverage.log" | grep -oE '^[0-9]+') || true
corpus=(fuzz/corpus/*)
echo "fuzz: PASS: ${#corpus[@]} corpus inputs replayed; ${executions:-?} executions" \
    "in $seconds s reached ${edges:-?} of ${all:-?} instrumented edges; no crash"
