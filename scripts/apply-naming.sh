#!/usr/bin/env bash
# Renames the names in src/ that are outside the naming rules of .clang-tidy,
# with clang-tidy's own fixes over the build's compile_commands.json: each
# source is checked once, a header's fixes are gathered from every source that
# includes it and applied once. Parameters and locals are renamed only inside
# their function; a field or constant is renamed wherever src/ uses it.
# Afterwards it rebuilds nothing: build, run the tests, then
# scripts/check-naming.sh lists whatever is still outside the rules.
# Usage: scripts/apply-naming.sh [BUILD_DIR]   (default $KORVANA_BUILD_DIR or build/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KORVANA_BUILD_DIR:-$here/build}}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "apply-naming: no $build/compile_commands.json; configure and build first" >&2
  exit 2
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy)
apply=$(command -v clang-apply-replacements-14 || command -v clang-apply-replacements)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# -fix has each source's fixes written apart and clang-apply-replacements
# merge them, dropping the duplicates of a header included by many sources.
"$runner" -quiet -clang-tidy-binary "$tidy" -clang-apply-replacements-binary "$apply" \
  -p "$build" -j "${KORVANA_TIDY_JOBS:-$(nproc)}" -checks='-*,readability-identifier-naming' \
  -header-filter "^$here/src/" -fix "^$here/src/.*\.cpp$" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' >"$log" || true
if grep -q ': error: ' "$log"; then
  grep ': error: ' "$log" | sort -u >&2
  echo "apply-naming: clang-tidy could not read every source; its renames may be incomplete" >&2
  exit 2
fi
git -C "$here" diff --stat -- src | tail -1
