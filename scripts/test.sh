#!/usr/bin/env bash
# Fresh machine to test results: install packages, build with tests, check the
# names in src/ (scripts/check-naming.sh) and the sources' layout
# (scripts/check-format.sh), run every test headless, and the
# installed program from a staging prefix (scripts/test-install.sh); then the
# same suite built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/sanitize.sh), then every fuzz target for
# a fixed time in that build (scripts/fuzz.sh). A failure of any of them fails
# the run; the regular suite's count ends the output.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
KORVANA_TEST_DEPS=1 "$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$here/scripts/build.sh" -DKORVANA_BUILD_TESTS=ON
build=${KORVANA_BUILD_DIR:-$here/build}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Real audio for the playback tests: a PulseAudio server with a null sink.
# shellcheck source=start-audio.sh
. "$here/scripts/start-audio.sh"
status=0
# The names in src/ against the rules of .clang-tidy.
"$here/scripts/check-naming.sh" "$build" || status=1
# The sources' layout against .clang-format.
"$here/scripts/check-format.sh" || status=1
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" | tee "$log" || status=1
# The program as a user installs it: into a staging prefix, run from there.
"$here/scripts/test-install.sh" || status=1
"$here/scripts/sanitize.sh" || status=1
"$here/scripts/fuzz.sh" "${KORVANA_FUZZ_SECONDS:-30}" "${KORVANA_RTF_FUZZ_SECONDS:-60}" || status=1
# The fuzzers' statistics end the output; repeat the test count last.
total=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log")
failed=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log")
if [ -n "$total" ]; then
  echo "ctest: $((total - failed)) passed, $failed failed"
fi
exit "$status"
