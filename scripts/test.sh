#!/usr/bin/env bash
# Builds both builds from this checkout and runs every test:
#   the Linux build under AddressSanitizer and UndefinedBehaviorSanitizer
#   against the recording stand-in, then the Windows build under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-packages.sh"

# The error name table's regeneration check needs dvoice.h, which only Wine's
# development package has; fetched (not installed) so that the check runs.
[ -f "$root/build/error-headers/usr/include/wine/wine/windows/dvoice.h" ] ||
    python3 "$root/errors/generator/generate_error_names.py" --fetch-dvoice \
            --output "$root/build/error-headers/ErrorNameTable.inc" >/dev/null ||
    echo "dvoice.h could not be fetched: the error table's regeneration check will be skipped"

echo "== Linux build (sanitizers, recording device)"
cmake -S "$root" -B "$root/build/linux" -DCMAKE_BUILD_TYPE=Debug -DGRAPHICSDLL_SANITIZE=ON >/dev/null
cmake --build "$root/build/linux" -j"$jobs"
ctest --test-dir "$root/build/linux" --output-on-failure -j"$jobs"

echo "== Hostile-host fuzzer (clang, a minute)"
"$root/scripts/fuzz.sh" 60

echo "== Windows build (MinGW-w64, run under Wine)"
"$root/scripts/test-windows.sh"
