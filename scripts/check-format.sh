#!/usr/bin/env bash
# Checks that the C++ sources keep the layout of .clang-format (src/, tests/,
# bench/). Prints the files that differ and fails if there is any;
# `scripts/check-format.sh --fix` lays them out in place.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format is needed (Debian package clang-format)" >&2
  exit 2
fi
cd "$here"
mapfile -d '' files < <(git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = --fix ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 20 "$format" -i
  exit 0
fi
bad=$(printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 20 "$format" --dry-run 2>&1 \
  | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
if [ -z "$bad" ]; then
  echo "check-format: every source keeps the layout of .clang-format"
  exit 0
fi
printf '%s\n' "$bad"
echo "check-format: $(printf '%s\n' "$bad" | grep -c .) files differ from .clang-format (scripts/check-format.sh --fix)"
exit 1
