#!/usr/bin/env bash
# Renders the demo scene: builds GraphicsDLL.dll and the sample host for
# Windows, runs the host headless under Wine inside a private Xvfb, and
# leaves behind
#   build/demo/screenshot.bmp   the last frame, as the plug-in saved it
#   build/demo/screenshot.png   the same picture for any viewer
#   build/demo/demo.log         the log, one line per message with its level
# --arch x64 (the default) or --arch x86 chooses the build. The x86 build
# needs 32-bit programs and Wine's 32-bit part (scripts/install-packages.sh
# sets them up); it draws with Mesa's softpipe, and where 32-bit programs run
# under emulation a frame takes seconds, so it renders 5 frames unless told
# otherwise. Other arguments go to the sample host, for example:
#   scripts/demo.sh --frames 600 --size 1024x768 --multisample 4
#   scripts/demo.sh --fullscreen --size 1280x1024   (the whole Xvfb screen)
#   scripts/demo.sh --arch x86
# (scripts/demo.sh --help lists them all.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo="$root/build/demo"
screen=1280x1024

arch=x64
host_arguments=()
while [ $# -gt 0 ]; do
    case "$1" in
    --arch)
        arch=${2:-}
        shift $(($# > 1 ? 2 : 1))
        ;;
    --arch=*)
        arch=${1#--arch=}
        shift
        ;;
    *)
        host_arguments+=("$1")
        shift
        ;;
    esac
done
session=wine_headless
case "$arch" in
x64) build="$root/build/windows" toolchain="$root/cmake/mingw-w64-x86_64.cmake" ;;
x86)
    build="$root/build/windows-x86" toolchain="$root/cmake/mingw-w64-i686.cmake"
    session=wine_headless_softpipe
    # The host takes the last of repeated options, so a --frames given wins.
    host_arguments=(--frames 5 ${host_arguments[@]+"${host_arguments[@]}"})
    ;;
*)
    echo "error: --arch takes x64 or x86, not '$arch'" >&2
    exit 2
    ;;
esac

"$root/scripts/install-packages.sh"
# shellcheck source=../tools/wine-headless.sh
source "$root/tools/wine-headless.sh"
wine_check_packages
if [ "$arch" = x86 ] && missing_part=$(wine_32_bit_part_missing) && [ -n "$missing_part" ]; then
    echo "error: the x86 demo cannot run here: $missing_part." >&2
    echo "       scripts/install-packages.sh said above why it could not set that up;" >&2
    echo "       run the x64 demo meanwhile: scripts/demo.sh --arch x64" >&2
    exit 1
fi

echo "== Building GraphicsDLL.dll and the sample host ($arch)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$build" --target SampleHost -j"$(nproc)"

wine_prepare_prefix
mkdir -p "$demo"
rm -f "$demo/screenshot.bmp" "$demo/screenshot.png"

echo "== Running the sample host under Wine"
started=$SECONDS
status=0
# As long as the frames asked for take (an x86 frame takes seconds).
WINE_SESSION_TIMEOUT=3600 "$session" "$screen" bash -c 'cd "$1" && shift && wine "$@"' demo "$demo" \
    "$build/SampleHost.exe" --screenshot screenshot.bmp --log demo.log ${host_arguments[@]+"${host_arguments[@]}"} || status=$?
echo "(Wine session: $((SECONDS - started)) s)"

if [ -f "$demo/screenshot.bmp" ]; then
    python3 "$root/tools/bmp_to_png.py" "$demo/screenshot.bmp" "$demo/screenshot.png"
    echo "Picture: $demo/screenshot.png (bitmap: $demo/screenshot.bmp, log: $demo/demo.log)"
fi
if [ "$status" -ne 0 ]; then
    echo "The sample host failed (exit status $status); see $demo/demo.log" >&2
fi
exit "$status"
