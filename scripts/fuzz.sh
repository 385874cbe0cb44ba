#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang (AddressSanitizer on)
# and runs it for SECONDS (default 60) on the test fixtures as seed corpus.
# Fails on any crash, leak or hang (an input that takes over 10 s); the
# input that failed is left in the fuzz build folder (crash-*, leak-*, timeout-*).
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}-fuzz
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANA_FUZZ=ON -DKORVANA_BUILD_BENCH=OFF \
  -DKORVANA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_rtf_reader
# The corpus grows while fuzzing; keep the repository's fixtures untouched.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$here"/tests/data/rtf/*.rtf "$corpus"/
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp}
"$build/fuzz/fuzz_rtf_reader" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/fuzz/rtf.dict" -print_final_stats=1 -artifact_prefix="$build/" "$corpus"
