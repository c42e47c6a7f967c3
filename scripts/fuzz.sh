#!/usr/bin/env bash
# Builds the hostile-host fuzzer with clang (build/fuzz), replays every kept
# finding in fuzz/regressions, then fuzzes for the given number of seconds
# (60 by default) from the seed corpus in fuzz/corpus. Long runs:
#   ./scripts/fuzz.sh 3600
# New inputs collect in build/fuzz/corpus; a finding is written to
# build/fuzz/findings/ and ends the run with a failure. Keep each finding,
# once fixed, in fuzz/regressions/ under a name that says what it found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build/fuzz"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j2 >/dev/null
mkdir -p "$build/corpus" "$build/findings"
cp -n "$root"/fuzz/corpus/* "$build/corpus/"

cd "$build"
echo "== Fuzzer: $(ls "$root/fuzz/regressions" | wc -l) kept findings"
./host_calls_fuzzer "$root"/fuzz/regressions/* >"$build/regressions.log" 2>&1 ||
    { cat "$build/regressions.log"; exit 1; }
echo "== Fuzzer: $seconds s from $(ls "$build/corpus" | wc -l) inputs"
./host_calls_fuzzer -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/findings/" "$build/corpus" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|Done|==|SUMMARY)|ERROR|runtime error|alive after|Test unit written'
