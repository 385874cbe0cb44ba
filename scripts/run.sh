#!/usr/bin/env bash
# Fresh machine to running program: install packages, build, start Korvana.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh"
exec "${KORVANA_BUILD_DIR:-$here/build}/src/korvana"
