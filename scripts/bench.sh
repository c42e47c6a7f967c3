#!/usr/bin/env bash
# Builds the Linux build optimised, without sanitizers, and runs the benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench" -j"$(nproc)" --target graphics_benchmarks
"$root/build/bench/bench/graphics_benchmarks" "$@"
