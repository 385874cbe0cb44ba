#!/usr/bin/env bash
# Source this before the tests: starts a PulseAudio server with a null sink
# (unless one is reachable already) and exports PULSE_SERVER, so that the
# tests of real playback hear what the program plays by recording the sink's
# monitor. Without pulseaudio installed it does nothing and those tests skip.
korvana_start_audio() {
  command -v pulseaudio >/dev/null 2>&1 && command -v pactl >/dev/null 2>&1 || {
    echo "start-audio: pulseaudio not installed; the real-audio tests will skip"
    return 0
  }
  local dir=${KORVANA_PULSE_DIR:-/tmp/korvana-pulse-$(id -u)}
  export PULSE_SERVER="unix:$dir/pulse/native"
  if timeout 5 pactl info >/dev/null 2>&1; then
    echo "start-audio: PulseAudio already running at $PULSE_SERVER"
    return 0
  fi
  mkdir -p "$dir" && chmod 700 "$dir"
  # A minimal configuration: the local socket (no cookie, since the tests
  # move their config folders) and one null sink as the default output.
  cat >"$dir/default.pa" <<'PA'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=korvana_null sink_properties=device.description=KorvanaNull
set-default-sink korvana_null
PA
  # As root the server needs no system mode, only a runtime folder of its own.
  XDG_RUNTIME_DIR="$dir" pulseaudio -D -n --exit-idle-time=-1 --disallow-exit \
    -F "$dir/default.pa" --log-target="file:$dir/log" || true
  local i
  for i in $(seq 1 50); do
    if timeout 5 pactl info >/dev/null 2>&1; then
      echo "start-audio: PulseAudio with a null sink at $PULSE_SERVER"
      return 0
    fi
    sleep 0.1
  done
  echo "start-audio: PulseAudio did not start; the real-audio tests will skip"
  unset PULSE_SERVER
  return 0
}
korvana_start_audio
