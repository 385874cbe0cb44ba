#!/usr/bin/env bash
# Renames the names in src/ that are outside the naming rules of .clang-tidy,
# with clang-tidy's own fixes over the build's compile_commands.json: each
# source is checked once, a header's fixes are gathered from every source that
# includes it and applied once. Parameters and locals are renamed only inside
# their function; a field or constant is renamed wherever src/ uses it.
# A rename whose new name is already used where it applies is left out and
# printed (see scripts/naming-fixes.py). Afterwards build, run the tests, and
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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$runner" -quiet -clang-tidy-binary "$tidy" -p "$build" -j "${KORVANA_TIDY_JOBS:-$(nproc)}" \
  -checks='-*,readability-identifier-naming' -header-filter "^$here/src/" \
  -export-fixes "$work/fixes.yaml" "^$here/src/.*\.cpp$" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' >"$work/log" || true
if grep -q ': error: ' "$work/log"; then
  grep ': error: ' "$work/log" | sort -u >&2
  echo "apply-naming: clang-tidy could not read every source; nothing renamed" >&2
  exit 2
fi
# Each header's fixes come once from every source that includes it: the
# filter keeps one of each, and only the renames whose new name is free.
python3 "$here/scripts/naming-fixes.py" "$work/fixes.yaml" "$work/apply"
"$apply" "$work/apply"
git -C "$here" diff --stat -- src | tail -1
