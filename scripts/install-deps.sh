#!/usr/bin/env bash
# Installs the Debian packages Korvana needs to build, run and test.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6
  qt6-qpa-plugins libgl-dev
  # Qt Multimedia's GStreamer backend needs these elements (playbin, wavparse,
  # mpg123, the audio sinks); without them making a media player crashes.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libespeak-ng-dev espeak-ng-data
  libuchardet-dev
  zlib1g-dev libjpeg-dev libfontconfig-dev
  unicode-data fonts-noto-cjk
  # A serif Latin face with every pinyin tone vowel (ǎ ǐ ǒ ǔ ǚ ǜ included)
  # and the metrics of Times New Roman, which lessons and panes name.
  fonts-liberation2
  python3
)
if [ "${KORVANA_TEST_DEPS:-0}" = 1 ]; then
  # clang's libFuzzer for the RTF reader fuzzer, Xvfb for screenshots,
  # LibreOffice to cross-check the lesson files we write.
  # openbox and xdotool: a real window manager and real pointer events for
  # the window-dragging test.
  packages+=(clang libclang-rt-14-dev xvfb libreoffice-writer-nogui openbox xdotool)
  # clang-tidy checks the names in src/ (scripts/check-naming.sh); clang-tools
  # brings clang-apply-replacements and python3-yaml reads its fixes for
  # scripts/apply-naming.sh.
  packages+=(clang-tidy clang-tools python3-yaml)
  # clang-format keeps the sources' layout (scripts/check-format.sh).
  packages+=(clang-format)
  # A PulseAudio server with a null sink, and parec to record what plays.
  packages+=(pulseaudio pulseaudio-utils)
  # A real IBus with a Chinese engine (on a private session bus with dconf)
  # and a real Fcitx 5, for the editor's input-method switching.
  packages+=(ibus ibus-libpinyin dbus dbus-x11 dconf-service dconf-gsettings-backend fcitx5)
  # The installed program's test (scripts/test-install.sh): the menu entry's
  # checker, and xprop to tell the main window from the splash screen.
  packages+=(desktop-file-utils x11-utils)
fi

# npm (for the dictionary data) comes from Debian only when the machine has no
# Node.js of its own: Debian's nodejs package conflicts with other builds.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
