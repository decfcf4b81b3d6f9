# Sourced by the bench scripts: a 1920x1080 Xvfb screen, with the openbox
# window manager when it is installed, started by start_screen DISPLAY and
# ended by stop_screen, which a script's exit trap calls.
xvfb=""
wm=""

start_screen() {
  local display="$1"
  Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do
    [ -S "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
  if command -v openbox >/dev/null; then
    DISPLAY="$display" openbox >/dev/null 2>&1 &
    wm=$!
    sleep 0.5
  fi
}

stop_screen() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
