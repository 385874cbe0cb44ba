#!/usr/bin/env bash
# Takes a picture of the main window with a lesson open, under Xvfb with the
# Chinese fonts installed: tools/screenshot.sh [OUTPUT.png] [LESSON.kvl...]
# KORVANA_SKIN names the skin to show (default: the built-in look);
# KORVANA_PROGRAM_FOLDER a program folder whose skins/ holds it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVANA_BUILD_DIR:-$here/build}
out=${1:-$build/korvana-main.png}
shift || true
lessons=("$@")
[ ${#lessons[@]} -gt 0 ] || lessons=("$here/tests/data/lessons/formatted.kvl")
cmake --build "$build" --target korvana_screenshot | grep -E "error|FAILED" && exit 1 || true
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}
export XDG_DATA_HOME=${XDG_DATA_HOME:-$(mktemp -d)}
# Do not show the reminder in the picture.
mkdir -p "$XDG_CONFIG_HOME/korvana"
printf '[Options]\nShow Reminder=0\nSkin=%s\n' "${KORVANA_SKIN:-*standard*}" > "$XDG_CONFIG_HOME/korvana/korvana.ini"
KORVANA_SILENT_AUDIO=1 xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/tools/korvana_screenshot" "$out" "${lessons[@]}"
echo "$out"
