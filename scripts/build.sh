#!/usr/bin/env bash
# Configures and builds Korvana into build/ (or $KORVANA_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}
# ccache, where installed, makes rebuilds of other checkouts cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${KORVANA_BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}" "$@"
cmake --build "$build" --parallel "$(nproc)"
