#!/usr/bin/env bash
# Cross-compiles the Windows build and checks what the DLL exports and imports.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" -j"$(nproc)"
"$root/tests/check-exports.sh" "$root/build/windows/GraphicsDLL.dll"
