#!/usr/bin/env bash
# Configures and builds Korvana into build/ (or $KORVANA_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${KORVANA_BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$build" --parallel "$(nproc)"
