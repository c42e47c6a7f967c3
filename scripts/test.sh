#!/usr/bin/env bash
# Builds both builds from this checkout and runs every test:
#   the Linux build under AddressSanitizer and UndefinedBehaviorSanitizer
#   against the recording stand-in, then the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-packages.sh"

echo "== Linux build (sanitizers, recording device)"
cmake -S "$root" -B "$root/build/linux" -DCMAKE_BUILD_TYPE=Debug -DGRAPHICSDLL_SANITIZE=ON >/dev/null
cmake --build "$root/build/linux" -j"$jobs"
ctest --test-dir "$root/build/linux" --output-on-failure -j"$jobs"

echo "== Hostile-host fuzzer (clang, a minute)"
"$root/scripts/fuzz.sh" 60

echo "== Windows build (MinGW-w64, run under Wine)"
"$root/scripts/test-windows.sh"
