#!/usr/bin/env bash
# Builds the Linux build optimised, without sanitizers, runs the benchmarks
# and prints each pair's ratio. Arguments go to the benchmark program
# (--benchmark_filter=frame). ./scripts/bench-wine.sh measures under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench" -j2 --target graphics_benchmarks
"$root/build/bench/bench/graphics_benchmarks" --benchmark_out="$root/build/bench/results.json" \
    --benchmark_out_format=json "$@"
echo
python3 "$root/bench/ratio_table.py" "$root/build/bench/results.json"
