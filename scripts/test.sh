#!/usr/bin/env bash
# Fresh machine to test results: install packages, build with tests and the
# RTF fuzzer, run every test headless, then the fuzzer for a fixed time.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
KORVANA_TEST_DEPS=1 "$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$here/scripts/build.sh" -DKORVANA_BUILD_TESTS=ON
build=${KORVANA_BUILD_DIR:-$here/build}
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
if [ -x "$here/scripts/fuzz.sh" ]; then
  "$here/scripts/fuzz.sh" "${KORVANA_FUZZ_SECONDS:-60}"
fi
