#!/usr/bin/env bash
# The installed program started by a user who cannot write its folder keeps
# lmn.dat under $XDG_CONFIG_HOME/lumeno and bksh.dat under
# $XDG_DATA_HOME/lumeno; a copy in a folder the user can write keeps both
# next to itself and touches no user folder. Run as root, the program runs as
# the user "nobody" (root can write any folder); run as anyone else, the
# installed folder is made read-only instead.
#
# Usage: installed-data-places.sh DESTDIR   (a tree installed with prefix /usr)
set -euo pipefail
installed="$(cd "$1" && pwd)"

# An X server with a window manager of its own, ended with the test.
# LMN_E2E_DISPLAYS ("93") picks the display; otherwise Xvfb takes a free one.
e2e_pids=()
e2e_cleanup() {
  local pid
  for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap e2e_cleanup EXIT

e2e_start_x() {
  local fifo display number="${LMN_E2E_DISPLAYS:-}"
  number="${number%%,*}"
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  if [ -n "$number" ]; then
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    e2e_pids+=($!)
    display=":$number"
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

work="$(mktemp -d)"
chmod 755 "$work"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  chmod -R a+rX "$installed"
  chmod 755 "$installed"
  owner=nobody
else
  chmod a-w "$installed/usr/bin"
  owner="$(id -un)"
fi
trap 'chmod u+w "$installed/usr/bin" 2>/dev/null || true; rm -rf "$work"; e2e_cleanup' EXIT

e2e_start_x

fail=0
check() {  # check DESCRIPTION TEST...
  local description="$1"
  shift
  if "$@"; then echo "ok: $description"; else echo "FAILED: $description"; fail=1; fi
}

# Starts the program, opens the shelf (which creates the shelf file), closes
# it and the window as a user would, so the settings are written at the end.
run_program() {  # run_program EXECUTABLE HOME
  local executable="$1" home="$2" pid window
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" HOME="$home" \
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    "${run_as[@]}" "$executable" >"$home/out.log" 2>&1 &
  pid=$!
  e2e_pids+=("$pid")
  window="$(e2e_wait_window '^Orvek Lumeno$')"
  # A key sent while the window is still being mapped is lost: press again
  # until the shelf shows.
  for _ in $(seq 20); do
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"
    xdotool key --clearmodifiers ctrl+b
    sleep 0.5
    xdotool search --onlyvisible --name '^Полка$' >/dev/null 2>&1 && break
  done
  xdotool key --clearmodifiers Escape
  sleep 0.3
  wmctrl -i -c "$window"
  e2e_wait_exit "$pid" || { echo "the program did not end"; kill "$pid"; return 1; }
}

home="$work/installed-user"
mkdir -p "$home/run" && chmod 700 "$home/run" && chown -R "$owner" "$home"
run_program "$installed/usr/bin/lmn" "$home"
check "installed: lmn.dat in XDG_CONFIG_HOME/lumeno" test -s "$home/config/lumeno/lmn.dat"
check "installed: bksh.dat in XDG_DATA_HOME/lumeno" test -s "$home/data/lumeno/bksh.dat"
check "installed: nothing written beside the executable" \
  test ! -e "$installed/usr/bin/lmn.dat" -a ! -e "$installed/usr/bin/bksh.dat"

portable="$work/portable"
home="$work/portable-user"
mkdir -p "$portable" "$home/run" && chmod 700 "$home/run"
cp "$installed/usr/bin/lmn" "$installed/usr/share/lumeno/lmn.html" "$portable/"
chown -R "$owner" "$portable" "$home"
run_program "$portable/lmn" "$home"
check "portable: lmn.dat next to the executable" test -s "$portable/lmn.dat"
check "portable: bksh.dat next to the executable" test -s "$portable/bksh.dat"
check "portable: no user folders made" test ! -e "$home/config" -a ! -e "$home/data"

exit "$fail"
