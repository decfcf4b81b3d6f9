# Sourced by the end-to-end tests: an X server with a window manager of their
# own, ended when the test ends. LMN_E2E_DISPLAY (":93") picks the display;
# otherwise the server takes the first free one.
e2e_pids=()
e2e_cleanup() {
  local pid
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap e2e_cleanup EXIT

e2e_start_x() {
  local fifo display
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  if [ -n "${LMN_E2E_DISPLAY:-}" ]; then
    Xvfb "$LMN_E2E_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    e2e_pids+=($!)
    display="$LMN_E2E_DISPLAY"
    for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    e2e_pids+=($!)
    read -r display <"$fifo"
    display=":$display"
  fi
  rm -f "$fifo"
  export DISPLAY="$display"
  openbox >/dev/null 2>&1 &
  e2e_pids+=($!)
  for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
}

# Waits for a window whose title matches and prints its id.
e2e_wait_window() {
  xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Waits up to ten seconds for a process to end; false when it does not.
e2e_wait_exit() {
  local pid="$1"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  return 1
}
