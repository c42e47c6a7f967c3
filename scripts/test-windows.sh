#!/usr/bin/env bash
# Cross-compiles the Windows build, checks what the DLL exports and imports,
# and runs the end-to-end tests under Wine inside a private Xvfb:
#   - the e2e test program (tests/e2e), which drives GraphicsDLL.dll on
#     Wine's Direct3D 9 and checks log lines and screenshot pixels;
#   - a short run of the sample host, which must exit 0 with a screenshot;
#   - the stand-in's D3DX matrix functions against Wine's d3dx9_29, compared
#     bit by bit on one fixed list of inputs;
#   - the stand-in's device against Wine's: a probe of the device rules it
#     copies, and the same host scenarios run on both builds with their
#     transcripts compared (tests/differential).
# Pictures and logs stay in build/windows/e2e-output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
output="$build/e2e-output"
# The full-screen device of the device-loss test covers this whole screen.
screen=1024x768

# shellcheck source=../tools/wine-headless.sh
source "$root/tools/wine-headless.sh"
wine_check_packages

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
"$root/tests/check-exports.sh" "$build/GraphicsDLL.dll"

# The stand-in's side of the matrix comparison is a Linux program: from the
# Linux build when scripts/test.sh has configured it, else from a small
# build of its own.
linux_build="$root/build/linux"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    linux_build="$root/build/e2e-linux"
    cmake -S "$root" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$linux_build" --target matrix_bits -j"$(nproc)"
cmake --build "$linux_build" --target differential_scenarios -j"$(nproc)"

wine_prepare_prefix
rm -rf "$output"
mkdir -p "$output"

echo "== End-to-end tests under Wine (screen ${screen})"
started=$SECONDS
status=0
wine_headless "$screen" bash -c '
    build=$1 output=$2
    cd "$build"
    wine ./e2e_tests.exe --gtest_color=no 2>&1 | tee "$output/e2e_tests.txt"
    echo "e2e_tests: exit ${PIPESTATUS[0]}" >>"$output/steps.txt"
    wine ./SampleHost.exe --frames 30 --screenshot "e2e-output\\host.bmp" \
        --log "e2e-output\\host.log" >"$output/host.txt" 2>&1
    echo "sample host: exit $?" >>"$output/steps.txt"
    wine ./tools/matrix_bits.exe >"$output/matrix-wine.txt"
    echo "matrix_bits.exe: exit $?" >>"$output/steps.txt"
    wine ./tests/differential/device_probe.exe >"$output/device-probe.txt" 2>&1
    echo "device_probe.exe: exit $?" >>"$output/steps.txt"
    wine ./differential_scenarios.exe >"$output/differential-wine.txt" 2>"$output/differential-wine.err"
    echo "differential_scenarios.exe: exit $?" >>"$output/steps.txt"
' windows-e2e "$build" "$output" || status=$?
echo "(Wine session: $((SECONDS - started)) s)"

passed=0
failed=0
pass() { passed=$((passed + $1)); }
fail() { failed=$((failed + $1)); echo "FAILED: $2" >&2; }

# The e2e program's own count, from googletest's closing lines.
e2e_passed=$(grep -oP '^\[  PASSED  \] \K[0-9]+' "$output/e2e_tests.txt" || echo 0)
e2e_failed=$(grep -oP '^\[  FAILED  \] \K[0-9]+(?= tests?, listed below)' "$output/e2e_tests.txt" || echo 0)
pass "$e2e_passed"
[ "$e2e_failed" -eq 0 ] || fail "$e2e_failed" "end-to-end tests (see $output/e2e_tests.txt)"
grep -q '^e2e_tests: exit 0$' "$output/steps.txt" 2>/dev/null ||
    { [ "$e2e_failed" -gt 0 ] || fail 1 "the e2e test program did not finish (session status $status)"; }

if grep -q '^sample host: exit 0$' "$output/steps.txt" 2>/dev/null &&
   [ "$(head -c 2 "$output/host.bmp" 2>/dev/null)" = "BM" ]; then
    pass 1
else
    cat "$output/host.txt" >&2 2>/dev/null || true
    fail 1 "the sample host's short run"
fi

echo "== D3DX matrix functions: stand-in against Wine's d3dx9_29"
"$linux_build/tools/matrix_bits" >"$output/matrix-standin.txt"
if grep -q '^matrix_bits.exe: exit 0$' "$output/steps.txt" 2>/dev/null &&
   python3 "$root/tools/compare_matrix_bits.py" "$output/matrix-wine.txt" "$output/matrix-standin.txt"; then
    pass 1
else
    fail 1 "the matrix comparison"
fi

echo "== Stand-in device against Wine's: probe and differential scenarios"
if grep -q '^device_probe.exe: exit 0$' "$output/steps.txt" 2>/dev/null; then
    pass 1
else
    grep -v '^ok ' "$output/device-probe.txt" >&2 || true
    fail 1 "the device probe (see $output/device-probe.txt)"
fi
(cd "$build" && "$linux_build/tests/differential/differential_scenarios") >"$output/differential-standin.txt"
if python3 "$root/tests/differential/compare_transcripts.py" \
       "$output/differential-standin.txt" "$output/differential-wine.txt"; then
    pass 1
else
    fail 1 "the differential scenarios"
fi

echo "Windows end-to-end: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
