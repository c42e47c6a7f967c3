#!/usr/bin/env bash
# Runs every benchmark, each comparing two ways of one job, the two taking
# turns so that both meet the same conditions on a busy machine:
#   - in the Linux build, optimised and without sanitizers, the benchmark
#     program (bench/), which prints a table of each comparison's ratio;
#     arguments go to it (--help; "frame" runs only the jobs named so);
#   - the frame rate under Wine, through the plug-in and straight
#     (bench/wine/compare.sh); skipped with BENCH_WINE=0.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench" -j2 --target graphics_benchmarks
"$root/build/bench/bench/graphics_benchmarks" "$@"

if [ "${BENCH_WINE:-1}" != 0 ]; then
    "$root/bench/wine/compare.sh"
fi
