#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless:
# the whole program's tests, then the end-to-end tests that drive the built
# program under Xvfb with real keys, mouse and clipboard, then the installed
# tree, its desktop files and the Debian package, then the program's tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz
# target over its corpus and briefly on new inputs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLMN_BUILD_BENCH=ON
cmake --build "$root/build"
ctest --test-dir "$root/build" --output-on-failure
python3 "$root/tests/e2e/run.py" "$root/build"
"$root/scripts/check-install.sh" "$root/build"

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer. Qt
# keeps some of its caches until the process ends, so leaks are looked for
# in the core's tests only.
cmake -S "$root" -B "$root/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLMN_CORE_ONLY=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build "$root/build-sanitize"
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$root/build-sanitize" -L core --output-on-failure
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir "$root/build-sanitize" -L widget --output-on-failure

"$root/scripts/fuzz.sh" "${LMN_FUZZ_SECONDS:-10}"
