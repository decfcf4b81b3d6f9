#!/usr/bin/env bash
# Runs bench_frame on a real X server (Debian's xvfb, and openbox if present): Xvfb with a 1920x1080 screen and the
# openbox window manager when it is installed, and reports the X server's CPU
# time per case next to the program's own. Every process it starts is ended
# by its id.
#   bench/run_frame_xvfb.sh BUILD_DIR [DISPLAY_NUMBER] [bench_frame options...]
set -euo pipefail
build="${1:?the build folder}"
display=":${2:-99}"
shift $(( $# >= 2 ? 2 : 1 ))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
  [ -S "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
if command -v openbox >/dev/null; then
  DISPLAY="$display" openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi
DISPLAY="$display" QT_QPA_PLATFORM=xcb LMN_BENCH_XSERVER_PID="$xvfb" \
  "$build/bench/bench_frame" "$@"
