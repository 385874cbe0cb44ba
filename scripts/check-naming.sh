#!/usr/bin/env bash
# Checks the names in src/ against the naming rules of .clang-tidy with
# clang-tidy over the build's compile_commands.json (one clang-tidy per source
# file, in parallel; headers are checked through the sources that include
# them). Prints each name outside the rules once and fails if there is any.
# Usage: scripts/check-naming.sh [BUILD_DIR]   (default $KORVANA_BUILD_DIR or build/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${KORVANA_BUILD_DIR:-$here/build}}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-naming: no $build/compile_commands.json; configure the build first" >&2
  exit 2
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [ -z "$tidy" ] || [ -z "$runner" ]; then
  echo "check-naming: clang-tidy and run-clang-tidy are needed (Debian package clang-tidy)" >&2
  exit 2
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Only the naming check, whatever else a local .clang-tidy might ask for.
"$runner" -quiet -clang-tidy-binary "$tidy" -p "$build" -j "${KORVANA_TIDY_JOBS:-$(nproc)}" \
  -checks='-*,readability-identifier-naming' -header-filter "^$here/src/" "^$here/src/.*\.cpp$" 2>&1 \
  | sed 's/\x1b\[[0-9;]*m//g' >"$out" || true
# A source that does not compile is no pass.
if grep -q ': error: ' "$out"; then
  grep ': error: ' "$out" | sort -u >&2
  echo "check-naming: clang-tidy could not read every source" >&2
  exit 2
fi
violations=$(grep -E 'warning: .*\[readability-identifier-naming\]' "$out" | sed "s|^$here/||" | sort -u || true)
count=$(printf '%s' "$violations" | grep -c . || true)
if [ "$count" -eq 0 ]; then
  echo "check-naming: every name in src/ follows the rules"
  exit 0
fi
printf '%s\n' "$violations"
echo "check-naming: $count names in src/ outside the rules of .clang-tidy (scripts/apply-naming.sh renames them)"
# Until the tree's names are brought under the rules in one commit, this
# file keeps the check from failing the run; that commit deletes it.
if [ -f "$here/.naming-check-pending" ]; then
  echo "check-naming: not failing while .naming-check-pending exists"
  exit 0
fi
exit 1
