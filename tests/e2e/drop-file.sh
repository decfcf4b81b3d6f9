#!/usr/bin/env bash
# A file dragged from another program and dropped on the text pane opens, the
# way a file manager's drag works: through the X server's drag-and-drop
# protocol, with xdotool moving a real pointer.
#
# Usage: drop-file.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
source "$here/x-session.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"; e2e_cleanup' EXIT
e2e_start_x

mkdir -p "$work/program" "$work/run"
chmod 700 "$work/run"
cp "$build/lmn" "$work/program/"
printf 'Перетащенный файл открыт.\n' >"$work/dropped.txt"
run_env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" HOME="$work" XDG_RUNTIME_DIR="$work/run")

"${run_env[@]}" "$work/program/lmn" >"$work/lmn.log" 2>&1 &
e2e_pids+=($!)
window="$(e2e_wait_window '^Orvek Lumeno$')"
"${run_env[@]}" "$build/tests/e2e/lmn_drag_source" "$work/dropped.txt" >"$work/source.log" 2>&1 &
e2e_pids+=($!)
source_window="$(e2e_wait_window '^lmn-drag-source$')"

# Press on the source, move to the bottom of the main window (the text pane)
# in small steps so both sides see the drag go by, and release there.
eval "$(xdotool getwindowgeometry --shell "$source_window")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) mousedown 1
eval "$(xdotool getwindowgeometry --shell "$window")"
target_x=$((X + WIDTH / 2))
target_y=$((Y + HEIGHT - HEIGHT / 5))
for step in $(seq 1 10); do
  xdotool mousemove $((200 / 2 + (target_x - 100) * step / 10)) $((60 + (target_y - 60) * step / 10))
  sleep 0.1
done
xdotool mousemove_relative 1 1
sleep 1
xdotool mouseup 1

for _ in $(seq 50); do
  title="$(xdotool getwindowname "$window")"
  [ "$title" = "Orvek Lumeno - dropped.txt" ] && break
  sleep 0.1
done
echo "title after the drop: $title"
echo "drag source: $(cat "$work/source.log")"
if [ "$title" != "Orvek Lumeno - dropped.txt" ]; then
  cat "$work/lmn.log" >&2
  echo "FAILED: the dropped file did not open"
  exit 1
fi
echo "ok: a file dragged from another program opened"
