#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a fixed time on a seed
# corpus made from the test fixtures: every reader of user files gets
# SECONDS (default 30), the RTF reader RTF_SECONDS (default 60).
#
#   scripts/fuzz.sh [SECONDS [RTF_SECONDS]]
#
# Fails on any crash, sanitizer report, leak, hang (an input that takes over
# 10 s) or broken property (a round trip that does not hold); every target
# runs all the same, and the input that failed is left in the build folder
# (<target>-crash-*, -leak-*, -timeout-*). The build folder is the sanitizer
# build that scripts/test.sh also tests in.
set -euo pipefail
seconds=${1:-30}
rtf_seconds=${2:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}-asan
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANA_FUZZ=ON -DKORVANA_SANITIZE=ON -DKORVANA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
targets=(fuzz_rtf_reader fuzz_settings fuzz_session fuzz_skin fuzz_lesson_line fuzz_lesson_roundtrip
         fuzz_dictionary)
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# Corpora and the targets' scratch files (TMPDIR) go to memory where the
# system offers that: every save syncs its file to the disk. A target that
# stops at a finding leaves its scratch files; the trap removes them.
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm=${TMPDIR:-/tmp}
work=$(mktemp -d -p "$shm" korvana-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
data=$here/tests/data

# seeds TARGET FILE...: the target's corpus; it grows while fuzzing, so the
# repository's fixtures are copied, never fuzzed in place.
seeds() {
  local dir=$work/$1
  shift
  mkdir -p "$dir"
  # Fixtures of different folders may share a name: each seed is named by
  # its place in the list.
  local i=0 f
  for f in "$@"; do
    cp "$f" "$dir/$i-$(basename "$f")"
    i=$((i + 1))
  done
}
seeds fuzz_rtf_reader "$data"/rtf/*.rtf
ini_files=("$data"/settings/*.ini "$data"/skins/skin.ini)
seeds fuzz_settings "${ini_files[@]}"
seeds fuzz_skin "${ini_files[@]}"
seeds fuzz_session "${ini_files[@]}"
printf '[Session]\r\nPosition=3\r\n\r\n[Lessons]\r\n0=C:\\Lessons\\hsk1.kvl\r\n1=two.kvl\r\n' \
  >"$work/fuzz_session/windows.ses"
lesson_files=("$data"/lessons/* "$data"/rtf/*.rtf "$data"/reader/story.txt)
seeds fuzz_lesson_line "${lesson_files[@]}"
seeds fuzz_lesson_roundtrip "${lesson_files[@]}"
# The dictionary target's input starts with four bytes that pick the term.
mkdir -p "$work/fuzz_dictionary"
for f in "$data"/dict/*.uni; do
  { printf '\x30\x00\x06\x00'; cat "$f"; } >"$work/fuzz_dictionary/$(basename "$f")"
done
# The shapes of hostile files: long lines, floods of lines, keys and sections.
"$here/fuzz/hostile_seeds.sh" "$work"
cat "$here/fuzz/lesson.dict" "$here/fuzz/rtf.dict" >"$work/roundtrip.dict"

dict_of() {
  case $1 in
    fuzz_rtf_reader) echo "$here/fuzz/rtf.dict" ;;
    fuzz_settings | fuzz_session | fuzz_skin) echo "$here/fuzz/ini.dict" ;;
    fuzz_lesson_line) echo "$here/fuzz/lesson.dict" ;;
    fuzz_lesson_roundtrip) echo "$work/roundtrip.dict" ;;
    fuzz_dictionary) echo "$here/fuzz/dictionary.dict" ;;
  esac
}

mkdir "$work/tmp"
export TMPDIR=$work/tmp
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp}
summary=()
failed=0
for t in "${targets[@]}"; do
  time=$seconds
  [ "$t" = fuzz_rtf_reader ] && time=$rtf_seconds
  log=$work/$t.log
  rc=0
  "$build/fuzz/$t" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 -dict="$(dict_of "$t")" \
    -print_final_stats=1 -artifact_prefix="$build/$t-" "$work/$t" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  if [ "$rc" -ne 0 ]; then
    failed=1
    tail -n 60 "$log"
    summary+=("fuzz: $t FAILED after ${runs:-?} executions")
  else
    summary+=("fuzz: $t ${runs:-?} executions in ${time} s")
  fi
done
printf '%s\n' "${summary[@]}"
exit "$failed"
