#!/usr/bin/env bash
# Renders the demo scene: builds GraphicsDLL.dll and the sample host for
# Windows, runs the host headless under Wine inside a private Xvfb, and
# leaves behind
#   build/demo/screenshot.bmp   the last frame, as the plug-in saved it
#   build/demo/screenshot.png   the same picture for any viewer
#   build/demo/demo.log         the log, one line per message with its level
# Arguments go to the sample host, for example:
#   scripts/demo.sh --frames 600 --size 1024x768 --multisample 4
#   scripts/demo.sh --fullscreen --size 1280x1024   (the whole Xvfb screen)
# (scripts/demo.sh --help lists them all.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
demo="$root/build/demo"
screen=1280x1024

"$root/scripts/install-packages.sh"
# shellcheck source=../tools/wine-headless.sh
source "$root/tools/wine-headless.sh"
wine_check_packages

echo "== Building GraphicsDLL.dll and the sample host"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target SampleHost -j"$(nproc)"

wine_prepare_prefix
mkdir -p "$demo"
rm -f "$demo/screenshot.bmp" "$demo/screenshot.png"

echo "== Running the sample host under Wine"
started=$SECONDS
status=0
wine_headless "$screen" bash -c 'cd "$1" && shift && wine "$@"' demo "$demo" \
    "$build/SampleHost.exe" --screenshot screenshot.bmp --log demo.log "$@" || status=$?
echo "(Wine session: $((SECONDS - started)) s)"

if [ -f "$demo/screenshot.bmp" ]; then
    python3 "$root/tools/bmp_to_png.py" "$demo/screenshot.bmp" "$demo/screenshot.png"
    echo "Picture: $demo/screenshot.png (bitmap: $demo/screenshot.bmp, log: $demo/demo.log)"
fi
if [ "$status" -ne 0 ]; then
    echo "The sample host failed (exit status $status); see $demo/demo.log" >&2
fi
exit "$status"
