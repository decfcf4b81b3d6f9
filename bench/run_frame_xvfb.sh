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
source "$(dirname "$0")/xvfb_screen.sh"
trap stop_screen EXIT
start_screen "$display"
DISPLAY="$display" QT_QPA_PLATFORM=xcb LMN_BENCH_XSERVER_PID="$xvfb" \
  "$build/bench/bench_frame" "$@"
