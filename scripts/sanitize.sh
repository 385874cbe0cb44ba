#!/usr/bin/env bash
# Builds the whole program and its tests with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan (or $KORVANA_BUILD_DIR-asan; the
# fuzz targets are built there too, see scripts/fuzz.sh) and runs the whole
# test suite in it. A sanitizer report (memory error, undefined behaviour,
# leak) stops the test that hit it and fails the run. Ends with the line
# "sanitizer ctest: N passed, M failed".
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}-asan
# The benchmarks measure speed: a sanitizer build of them tells nothing.
KORVANA_BUILD_DIR=$build CC=clang CXX=clang++ "$here/scripts/build.sh" \
  -DKORVANA_SANITIZE=ON -DKORVANA_FUZZ=ON -DKORVANA_BUILD_TESTS=ON -DKORVANA_BUILD_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp:print_suppressions=0}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" | tee "$log" || status=$?
total=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log")
failed=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log")
echo "sanitizer ctest: $((${total:-0} - ${failed:-0})) passed, ${failed:-?} failed"
exit "$status"
