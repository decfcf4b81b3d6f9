#!/usr/bin/env bash
# The reading step of two builds side by side, as a user meets it: each opens
# the 10 MB Windows-1251 text of bench/make_blackbox_inputs.py on an Xvfb
# screen (1920x1080, openbox), goes to its end, sets level 50 with the speed
# arrows, chooses "read from here to the end" in the context menu a few
# hundred words before the end, starts, and after a second counts for
# 8 seconds the groups drawn in the reading pane (bench/screen_watch count)
# against the CPU time of all the process's threads (/proc schedstat, in
# nanoseconds: the 10 ms ticks of /proc/PID/stat came to a dozen a run).
# Prints the CPU time per group of each run and the medians.
#   bench/run_blackbox_step.sh OLD_BUILD NEW_BUILD [ROUNDS] [DISPLAY_NUMBER] [CPU]
# With CPU, the program and the X server both run on that processor only.
# Every paint waits for a round trip to the X server, and where the two
# run on different processors of a virtual machine, the wake-ups between
# them cost more than the rest of a step: this tells the two apart.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
old="$(cd "${1:?the old build folder}" && pwd)"
new="$(cd "${2:?the new build folder}" && pwd)"
rounds="${3:-4}"
display=":${4:-98}"
cpu="${5:-}"
on_cpu=()
[ -n "$cpu" ] && on_cpu=(taskset -c "$cpu")
work="$(mktemp -d /tmp/lmn-blackbox-step.XXXXXX)"
cc -O2 -o "$work/screen_watch" "$here/screen_watch.c" -lX11 /usr/lib/x86_64-linux-gnu/libXdamage.so.1
python3 "$here/make_blackbox_inputs.py" "$work/in"
export DISPLAY="$display"
source "$here/xvfb_screen.sh"
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  stop_screen
  rm -rf "$work"
}
trap cleanup EXIT
start_screen "$display"
[ -n "$cpu" ] && taskset -pc "$cpu" "$xvfb" >/dev/null

cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {print ns}'; }

run_once() {
  local build="$1" name="$2" folder window
  folder="$(mktemp -d "$work/run.XXXXXX")"
  cp "$build/lmn" "$folder/"
  (cd "$folder" && LANG=C.UTF-8 LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$folder/config" \
    XDG_DATA_HOME="$folder/data" exec "${on_cpu[@]}" "$folder/lmn" "$work/in/book-1251.txt" >/dev/null 2>&1) &
  program=$!
  window="$(timeout 20 xdotool search --sync --onlyvisible --pid "$program" | head -1)"
  sleep 3  # the load and the estimate done
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool windowactivate --sync "$window" key ctrl+End
  xdotool key --repeat 40 --delay 5 Up
  # The speed display's up arrow, right of the display in the toolbar.
  xdotool mousemove $((X + 325)) $((Y + 6)) click --repeat 30 --delay 20 1
  # The context menu on the text pane; its second entry reads from the caret.
  xdotool mousemove $((X + 600)) $((Y + HEIGHT - 60)) click 3
  sleep 0.5
  xdotool key Down Down Return
  sleep 0.3
  # 4b04207 opens Qt's own context menu after the program's as well.
  xdotool key Escape
  sleep 0.2
  xdotool key space
  sleep 1
  local before after groups
  before="$(cpu_ns "$program")"
  groups="$("$work/screen_watch" count "$X" $((Y + 60)) "$WIDTH" 300 8000)"
  after="$(cpu_ns "$program")"
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=""
  rm -rf "$folder"
  python3 -c "import sys; t, g = $after - $before, $groups; \
print('$name', 'groups=%d' % g, 'cpu_ms_per_group=%.3f' % (t / 1e6 / max(g, 1)))"
}

results="$work/results.txt"
for round in $(seq "$rounds"); do
  if (( round % 2 )); then order="old new"; else order="new old"; fi
  for name in $order; do
    if [ "$name" = old ]; then build="$old"; else build="$new"; fi
    run_once "$build" "$name" | tee -a "$results"
  done
done
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, groups, cpu = line.split()
    rows.setdefault(name, []).append(float(cpu.split("=")[1]))
old, new = statistics.median(rows["old"]), statistics.median(rows["new"])
print(f"step CPU per group, median: old {old:.2f} ms, new {new:.2f} ms, new/old {new / old:.2f}")
PY
