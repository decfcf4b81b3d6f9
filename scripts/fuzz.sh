#!/usr/bin/env bash
# Builds the fuzz targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, replays every seed corpus and past crasher, then
# fuzzes each target for SECONDS seconds (default 20; 0 replays only).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
shift || true
build="$root/build-fuzz"
CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLMN_CORE_ONLY=ON -DLMN_BUILD_TESTS=OFF -DLMN_BUILD_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
cmake --build "$build"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
for target in "${targets[@]}"; do
  corpus="$root/fuzz/corpus/$target"
  work="$build/work/$target"
  mkdir -p "$work"
  echo "== $target: replaying $(ls "$corpus" | wc -l) inputs"
  "$build/fuzz/$target" -runs=0 "$corpus"
  if [ "$seconds" -gt 0 ]; then
    echo "== $target: fuzzing for $seconds s"
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "$corpus" 2>&1 | tail -n 12
  fi
done
