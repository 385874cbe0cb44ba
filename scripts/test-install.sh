#!/usr/bin/env bash
# Installs the built program into a staging prefix and runs it from there as a
# user would after `cmake --install`: headless under Xvfb, in a fresh home with
# its own XDG folders, with the source and build trees hidden (a private mount
# namespace lays an empty folder over each). The program's start-up report
# (the "korvana.startup" log) must show that it found its character database,
# its dictionary and its skins under the prefix; closed with its own exit
# button, it must have written its settings to the XDG config folder, left its
# sessions' folder in the XDG data folder and written nothing beside itself.
# Lists the installed files. Needs Xvfb, xdotool, xprop, desktop-file-validate and
# unshare (the test packages of scripts/install-deps.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${KORVANA_BUILD_DIR:-$here/build}" && pwd)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() {
  echo "installed program: $*" >&2
  [ -f "$tmp/report.log" ] && sed 's/^/  | /' "$tmp/report.log" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
echo "Installed files:"
(cd "$prefix" && find . -type f | sed 's|^\./|  |' | sort)

# The menu entry and its icons.
entry=$prefix/share/applications/korvana.desktop
desktop-file-validate "$entry" || fail "$entry does not pass desktop-file-validate"
grep -qx 'Exec=korvana' "$entry" && [ -x "$prefix/bin/korvana" ] || fail "the entry does not start bin/korvana"
grep -qx 'Icon=korvana' "$entry" || fail "the entry names no icon korvana"
[ -s "$prefix/share/icons/hicolor/scalable/apps/korvana.svg" ] || fail "no scalable icon"
png=$prefix/share/icons/hicolor/48x48/apps/korvana.png
size=$(python3 - "$png" <<'EOF'
import struct, sys
head = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else "not a PNG")
EOF
)
[ "$size" = 48x48 ] || fail "$png is $size, not 48x48"

# A user who has run the program before with the Jade skin and no reminder:
# the settings must be read from the XDG config folder for the skin to be Jade.
export HOME=$tmp/home
export XDG_CONFIG_HOME=$HOME/config XDG_DATA_HOME=$HOME/data XDG_CACHE_HOME=$HOME/cache
export XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_CONFIG_HOME/korvana" "$XDG_RUNTIME_DIR" "$tmp/work"
chmod 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/korvana/korvana.ini
printf '[Options]\nShow Reminder=0\nSkin=Jade\n' > "$settings"
export QT_LOGGING_RULES=korvana.startup.info=true QT_MESSAGE_PATTERN='%{category}: %{message}'
unset QT_QPA_PLATFORM KORVANA_SILENT_AUDIO
touch "$tmp/installed"

# Runs on the Xvfb display: start the program, wait for its main window (the
# splash screen has the same title, but not the normal window type), press
# its exit button once its start-up report is out (13 x 13 pixels, 20 pixels
# in from the top-right corner), wait for it to end.
cat > "$tmp/run.sh" <<'EOF'
set -u
"$1/bin/korvana" 2> "$2" &
pid=$!
win=
for _ in $(seq 300); do
  for w in $(xdotool search --onlyvisible --name '^Korvana$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_NORMAL' && win=$w && break 2
  done
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
[ -n "$win" ] || { echo "no main window appeared" >&2; kill "$pid"; exit 1; }
# The dictionary and the character database load just after the first paint;
# the report's last line comes when they have.
for _ in $(seq 300); do
  grep -q '^korvana.startup: skin: ' "$2" && break
  sleep 0.2
done
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove --sync --window "$win" $((WIDTH - 14)) 10 click 1
timeout 60 tail --pid="$pid" -f /dev/null || { echo "the exit button did not end the program" >&2; kill "$pid"; exit 1; }
wait "$pid"
EOF
# Lay empty folders over the trees (the build tree first: it may lie inside
# the source tree), then run where neither can be reached.
hide=(sh -c 'for d in "$@"; do case $d in --) shift; break;; esac; mount -t tmpfs none "$d"; shift; done; exec "$@"' hide)
if [ "$(id -u)" -eq 0 ]; then unshared=(unshare --mount --propagation private); else unshared=(unshare --user --map-root-user --mount); fi
if ! "${unshared[@]}" true 2>/dev/null; then
  # No private mount namespace here (user namespaces switched off): the
  # program still runs from the prefix, in a folder and home of its own.
  echo "installed program: the source and build trees stay visible: ${unshared[*]} is not permitted" >&2
  unshared=()
  hide=(sh -c 'while [ "$1" != -- ]; do shift; done; shift; exec "$@"' keep)
fi
(cd "$tmp/work" && "${unshared[@]}" "${hide[@]}" "$build" "$here" -- \
   xvfb-run -a -s "-screen 0 1280x800x24" bash "$tmp/run.sh" "$prefix" "$tmp/report.log") \
  || fail "did not run to its end"

report() { grep -F -- "$1" "$tmp/report.log" >/dev/null || fail "its report has no line with: $1"; }
report "korvana.startup: settings: $settings (read)"
grep -E '^korvana.startup: character database: [1-9][0-9]* characters, with 一$' "$tmp/report.log" >/dev/null \
  || fail "its report shows no character database holding 一"
grep -E "^korvana.startup: dictionary: $prefix/share/korvana/dict/cedict_gb.uni, [1-9][0-9]* lines, [1-9][0-9]* entries for 一\$" \
  "$tmp/report.log" >/dev/null || fail "its report shows no installed dictionary with entries for 一"
report "korvana.startup: skins: $prefix/share/korvana/skins/: "
grep -E '^korvana.startup: skins: .*(Jade.*Porcelain|Porcelain.*Jade)' "$tmp/report.log" >/dev/null || fail "its report lists not both skins"
report "korvana.startup: skin: Jade by Korvana"
report "korvana.startup: settings written: $settings"

grep -qx "Working Directory=$HOME/" "$settings" \
  || fail "the working folder in $settings is not the home folder $HOME/"
grep -qx "Skin=Jade" "$settings" && grep -qx "Show Reminder=0" "$settings" \
  || fail "$settings lost what the user had set"
written=$(find "$prefix" "$tmp/work" -newer "$tmp/installed")
[ -z "$written" ] || fail "it wrote beside the installed program or in its working folder: $written"
echo "installed program: started from $prefix/bin, found its data, kept its settings in $XDG_CONFIG_HOME/korvana"
