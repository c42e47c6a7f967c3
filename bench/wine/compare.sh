#!/usr/bin/env bash
# Frame rate under Wine: PluginQuads.exe (the scene through GraphicsDLL.dll)
# and RawQuads.exe (the same calls straight to Direct3D 9), taking turns in
# one Wine session at N = 100, 1,000 and 4,000 quads, nine runs each; then
# the median rates, their ratio and the two last frames compared pixel by
# pixel. Results stay in build/windows/bench-output.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/windows"
output="$build/bench-output"
counts="${QUAD_COUNTS:-100 1000 4000}"
rounds="${QUAD_ROUNDS:-9}"

# shellcheck source=../../tools/wine-headless.sh
source "$root/tools/wine-headless.sh"
wine_check_packages

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j2 --target PluginQuads RawQuads
wine_prepare_prefix
rm -rf "$output"
mkdir -p "$output"

echo "== Frame rate under Wine: through the plug-in and straight, in turn"
wine_headless 1024x768 bash -c '
    cd "$1/bench"
    for count in $3; do
        for round in $(seq "$4"); do
            # Each goes first in every other round, so that neither always
            # follows the other.
            programs="PluginQuads RawQuads"
            [ $((round % 2)) -eq 0 ] && programs="RawQuads PluginQuads"
            for program in $programs; do
                result=$(wine ./$program.exe "$count" "$program-$count.bmp" 2>"$2/$program-$count-$round.err") ||
                    result="failed $?"
                echo "$program $count $round $result" | tee -a "$2/runs.txt"
            done
        done
        mv PluginQuads-$count.bmp RawQuads-$count.bmp "$2/" 2>/dev/null || true
    done
' bench-wine "$build" "$output" "$counts" "$rounds"
python3 "$root/bench/wine/summarise.py" "$output"
