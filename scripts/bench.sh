#!/usr/bin/env bash
# Runs every benchmark, each comparing two ways of one job in the same run:
#   - the Linux build optimised, without sanitizers (bench/*.cpp), with a
#     table of each pair's ratio at the end; arguments go to the benchmark
#     program (--benchmark_filter=frame);
#   - the frame rate under Wine, through the plug-in and straight
#     (bench/wine/compare.sh); skipped with BENCH_WINE=0.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench" -j2 --target graphics_benchmarks
# The machine may be busy with other work: five repetitions of every
# benchmark, interleaved at random so that both ways of a job meet the same
# conditions, and the medians compared.
"$root/build/bench/bench/graphics_benchmarks" --benchmark_out="$root/build/bench/results.json" \
    --benchmark_out_format=json --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_display_aggregates_only=true "$@"
echo
python3 "$root/bench/ratio_table.py" "$root/build/bench/results.json"

if [ "${BENCH_WINE:-1}" != 0 ]; then
    "$root/bench/wine/compare.sh"
fi
