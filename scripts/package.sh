#!/usr/bin/env bash
# Builds the release packages of both Windows builds with CPack:
#   build/package/GraphicsDLL-<version>-win64.zip   (x64, from build/windows)
#   build/package/GraphicsDLL-<version>-win32.zip   (x86, from build/windows-x86)
# each with bin/GraphicsDLL.dll, the sample host and its assets, the host
# headers under include/, the CMake package under lib/cmake/GraphicsDLL, the
# sample host's sources as a CMake project under examples/SampleHost, and a
# README.txt on loading the plug-in and building the example.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# scripts/test-windows.sh has installed them already.
[ -n "${GRAPHICSDLL_PACKAGES_READY:-}" ] || "$root/scripts/install-packages.sh"

mkdir -p "$root/build/package"
for arch in x64 x86; do
    case "$arch" in
    x64) build="$root/build/windows" toolchain="$root/cmake/mingw-w64-x86_64.cmake" ;;
    x86) build="$root/build/windows-x86" toolchain="$root/cmake/mingw-w64-i686.cmake" ;;
    esac
    echo "== Packaging the $arch build"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
    cmake --build "$build" --target GraphicsDLL SampleHost -j"$(nproc)"
    (cd "$root/build/package" && cpack --config "$build/CPackConfig.cmake" -B "$root/build/package" >/dev/null)
done
rm -rf "$root/build/package/_CPack_Packages"
ls -1 "$root/build/package/"*.zip
