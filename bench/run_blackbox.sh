#!/usr/bin/env bash
# Two builds of the program side by side, as a user meets them, on one Xvfb
# screen (1920x1080, openbox when installed): each opens each document given
# on its command line, in a fresh folder of its own, and bench/screen_watch
# times the start up to the last large change on screen (the text drawn) and
# gives the peak memory. Rounds alternate between the builds so that a busy
# machine slows both alike; the medians and their ratio are printed.
#   bench/run_blackbox.sh OLD_BUILD NEW_BUILD [ROUNDS] [DISPLAY_NUMBER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
old="$(cd "${1:?the old build folder}" && pwd)"
new="$(cd "${2:?the new build folder}" && pwd)"
rounds="${3:-6}"
display=":${4:-97}"
work="$(mktemp -d /tmp/lmn-blackbox.XXXXXX)"
cc -O2 -o "$work/screen_watch" "$here/screen_watch.c" -lX11 /usr/lib/x86_64-linux-gnu/libXdamage.so.1
python3 "$here/make_blackbox_inputs.py" "$work/in"

source "$here/xvfb_screen.sh"
cleanup() {
  stop_screen
  rm -rf "$work"
}
trap cleanup EXIT
start_screen "$display"

# One start of a build with a document: "case build visible_ms=.. peak_mb=.. cpu_ms=..".
run_once() {
  local build="$1" name="$2" document="$3" folder
  folder="$(mktemp -d "$work/run.XXXXXX")"
  cp "$build/lmn" "$folder/"
  local result
  result="$(cd "$folder" && DISPLAY="$display" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    XDG_CONFIG_HOME="$folder/config" XDG_DATA_HOME="$folder/data" \
    "$work/screen_watch" 1500 100 -- "$folder/lmn" "$document" 2>/dev/null)"
  echo "$(basename "$document") $name $result"
  rm -rf "$folder"
}

results="$work/results.txt"
for round in $(seq "$rounds"); do
  for document in book-1251.txt book-utf8.txt book.html book.rtf; do
    if (( round % 2 )); then order="old new"; else order="new old"; fi
    for name in $order; do
      if [ "$name" = old ]; then build="$old"; else build="$new"; fi
      run_once "$build" "$name" "$work/in/$document" | tee -a "$results"
    done
  done
done

python3 - "$results" <<'EOF'
import re, statistics, sys
rows = {}
for line in open(sys.argv[1]):
    document, name, *fields = line.split()
    values = dict(f.split("=") for f in fields)
    rows.setdefault(document, {}).setdefault(name, []).append(values)
print(f"{'document':16} {'figure':12} {'old':>9} {'new':>9} {'new/old':>8}")
for document, builds in rows.items():
    for figure in ("visible_ms", "peak_mb", "cpu_ms"):
        med = {n: statistics.median(float(v[figure]) for v in builds[n]) for n in ("old", "new")}
        print(f"{document:16} {figure:12} {med['old']:9.1f} {med['new']:9.1f} {med['new'] / med['old']:8.2f}")
EOF
