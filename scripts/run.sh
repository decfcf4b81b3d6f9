#!/usr/bin/env bash
# Installs what is missing, builds the reader and starts it on the named file,
# or on the sample text that ships with it when no file is named.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target lmn
file="${1:-$root/res/sample.txt}"
exec "$root/build/lmn" "$file"
