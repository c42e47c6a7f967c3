#!/usr/bin/env bash
# Cross-compiles both Windows builds (x64 in build/windows, x86 in
# build/windows-x86), checks what their DLLs export and import, builds the
# test host made with Microsoft's C++ ABI (tests/msvc-host) for both, and
# runs under Wine inside a private Xvfb:
#   - the e2e test program (tests/e2e), which drives GraphicsDLL.dll on
#     Wine's Direct3D 9 and checks log lines and screenshot pixels;
#   - a short run of the sample host, which must exit 0 with a screenshot;
#   - the Microsoft-ABI host, with its own interface declarations and with
#     the plug-in's headers, each of which must exit 0;
#   - the sample host unpacked from the x64 release package, and the same
#     host built from that package's example sources as a host project
#     builds it (find_package, outside this tree), which must draw the same
#     picture;
#   - the stand-in's D3DX matrix functions against Wine's d3dx9_29, compared
#     bit by bit on one fixed list of inputs;
#   - the stand-in's device against Wine's: a probe of the device rules it
#     copies, and the same host scenarios run on both builds with their
#     transcripts compared (tests/differential).
# Before the sessions it checks the version resource of both DLLs (with
# Debian's python3-pefile; without it, that check is skipped), builds the
# example from the x86 package too, and checks that the packages' version
# files refuse another major version and a project of the other
# architecture.
# Then the x86 build as the x64 one, in a second session: the e2e test
# program built for x86, both Microsoft-ABI hosts, the sample host, whose
# picture must match the x64 one's, and the example built from the x86
# package, whose picture must match the x86 sample host's. That needs 32-bit
# programs with Wine's 32-bit part (scripts/install-packages.sh sets them
# up); without them, or with TEST_X86=0, the x86 DLL and hosts are built and
# checked statically only.
# Pictures and logs stay in build/windows/e2e-output (the x86 e2e pictures in
# build/windows-x86/e2e-output).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
build_x86="$root/build/windows-x86"
output="$build/e2e-output"
# The full-screen device of the device-loss test covers this whole screen.
screen=1024x768

# shellcheck source=../tools/wine-headless.sh
source "$root/tools/wine-headless.sh"
wine_check_packages
# The x86 build and the Microsoft-ABI host need these besides.
missing=()
command -v i686-w64-mingw32-g++-win32 >/dev/null || missing+=("g++-mingw-w64-i686")
command -v clang++ >/dev/null || missing+=("clang")
command -v lld-link >/dev/null || missing+=("lld")
command -v llvm-dlltool >/dev/null || missing+=("llvm")
command -v unzip >/dev/null || missing+=("unzip")
if [ ${#missing[@]} -gt 0 ]; then
    echo "error: missing Debian packages: ${missing[*]} (scripts/install-packages.sh installs them)" >&2
    exit 1
fi

passed=0
failed=0
pass() { passed=$((passed + $1)); }
fail() { failed=$((failed + $1)); echo "FAILED: $2" >&2; }

echo "== Windows builds: x64 and x86"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
cmake -S "$root" -B "$build_x86" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" >/dev/null
cmake --build "$build_x86" --target GraphicsDLL SampleHost e2e_tests -j"$(nproc)"
"$root/tests/check-exports.sh" "$build/GraphicsDLL.dll" x64
"$root/tests/check-exports.sh" "$build_x86/GraphicsDLL.dll" x86

# The version resource carries the project's version, read back with
# Debian's python3-pefile (a package of Debian's own Python).
version=$(grep -oP '^CMAKE_PROJECT_VERSION:STATIC=\K.*' "$build/CMakeCache.txt")
if /usr/bin/python3 -c 'import pefile' 2>/dev/null; then
    for dll in "$build/GraphicsDLL.dll" "$build_x86/GraphicsDLL.dll"; do
        if /usr/bin/python3 "$root/tests/check-version-resource.py" "$dll" "$version"; then
            pass 1
        else
            fail 1 "the version resource of $dll"
        fi
    done
else
    echo "version resource: NOT CHECKED (python3-pefile is missing; scripts/install-packages.sh installs it)"
fi

# Without 32-bit Wine this is what shows the x86 calling conventions: the
# plug-in's members are thiscall (the callee pops its stack arguments), as
# Microsoft's compiler calls them: 13 words for CreateGraphicsSystem, one for
# the deleting destructor, none for GetScreenWidth.
returns_of() {  # function-name: the return instructions of that member
    awk -v name="<CGraphicsD3D::$1(" 'index($0, name) == 10 { inside = 1; next }
         /^[0-9a-f]+ <.*>:$/ { inside = 0 } inside && /[[:space:]]ret/ { print $NF }' <<<"$disassembly" | sort -u
}
disassembly=$(i686-w64-mingw32-objdump -d --no-show-raw-insn -C "$build_x86/GraphicsDLL.dll")
if [ "$(returns_of CreateGraphicsSystem)" = '$0x34' ] && [ "$(returns_of DeletingDestructor)" = '$0x4' ] &&
   [ "$(returns_of GetScreenWidth)" = 'ret' ]; then
    pass 1
else
    fail 1 "the x86 DLL's members do not pop their arguments as thiscall members do"
fi
unset disassembly

echo "== Test host built with Microsoft's C++ ABI (clang, lld-link)"
"$root/tests/msvc-host/build.sh" x64 "$build"
"$root/tests/msvc-host/build.sh" x86 "$build_x86"
# The x86 host must be a 32-bit program that needs only kernel32, user32 and msvcrt.
for host in "$build_x86/MsvcHost.exe" "$build_x86/MsvcHostProjectHeaders.exe"; do
    dump=$(i686-w64-mingw32-objdump -p "$host")
    if grep -q 'file format pei-i386' <<<"$dump" &&
       [ "$(grep -oP 'DLL Name: \K\S+' <<<"$dump" | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')" = "kernel32.dll msvcrt.dll user32.dll " ]; then
        pass 1
    else
        fail 1 "$host is not a 32-bit program importing kernel32, user32 and msvcrt alone"
    fi
done

echo "== Release packages, used as a host project uses them"
GRAPHICSDLL_PACKAGES_READY=1 "$root/scripts/package.sh" >/dev/null
rm -rf "$output"
mkdir -p "$output/package"
for arch in win64 win32; do
    unzip -q "$root/build/package/GraphicsDLL-$version-$arch.zip" -d "$output/package"
done
package="$output/package/GraphicsDLL-$version-win64"
package_x86="$output/package/GraphicsDLL-$version-win32"
packaged_host="$package/bin/SampleHost.exe"

# The example, copied out of the unpacked package, built with nothing but
# the package on CMAKE_PREFIX_PATH; it copies GraphicsDLL.dll and its assets
# beside itself.
build_example() {  # x64|x86 package toolchain
    local project="$output/example-$1"
    mkdir -p "$project"
    cp -r "$2/examples/SampleHost" "$project/source"
    if cmake -S "$project/source" -B "$project/build" -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$3" -DCMAKE_PREFIX_PATH="$2" >"$project/build.txt" 2>&1 &&
       cmake --build "$project/build" -j"$(nproc)" >>"$project/build.txt" 2>&1; then
        pass 1
    else
        fail 1 "the example of $(basename "$2") does not build (see $project/build.txt)"
    fi
}
build_example x64 "$package" "$root/cmake/mingw-w64-x86_64.cmake"
build_example x86 "$package_x86" "$root/cmake/mingw-w64-i686.cmake"
example="$output/example-x64/build"
example_x86="$output/example-x86/build"

# What a package must refuse, with CMake's message naming it and its version:
# a request of another major version, older or newer, and a 64-bit project's
# request of the win32 package.
refusal_project="$output/refusal"
mkdir -p "$refusal_project/source"
printf '%s\n' "cmake_minimum_required(VERSION 3.20)" "project(Refusal LANGUAGES CXX)" \
    'find_package(GraphicsDLL ${WANTED} CONFIG REQUIRED)' >"$refusal_project/source/CMakeLists.txt"
check_refusal() {  # package wanted-version the-refused-version-as-CMake-names-it
    local log="$refusal_project/$(basename "$1")-$2.txt"
    if ! cmake -S "$refusal_project/source" -B "$refusal_project/build" -DCMAKE_PREFIX_PATH="$1" \
               -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DWANTED="$2" >"$log" 2>&1 &&
       grep -qx " *[^ ]*/GraphicsDLLConfig.cmake, version: $3" "$log"; then
        pass 1
    else
        fail 1 "a 64-bit project's find_package(GraphicsDLL $2) was not refused by $(basename "$1") (see $log)"
    fi
}
major=${version%%.*}
[ "$major" -eq 0 ] || check_refusal "$package" "$((major - 1)).9" "$version"
check_refusal "$package" "$((major + 1))" "$version"
check_refusal "$package_x86" "${version%.*}" "$version (32bit)"

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

# The demo scene small and short, for the hosts whose pictures are compared
# (and for softpipe under emulation); the info line shows the frame rate,
# which differs from run to run.
demo_arguments=(--frames 3 --size 320x240)
demo_info_line=24,202,466,226

echo "== End-to-end tests under Wine (screen ${screen})"
started=$SECONDS
status=0
wine_headless "$screen" bash -c '
    build=$1 output=$2 packaged_host=$3 example=$4
    shift 4
    cd "$build"
    wine ./e2e_tests.exe --gtest_color=no 2>&1 | tee "$output/e2e_tests.txt"
    echo "e2e_tests: exit ${PIPESTATUS[0]}" >>"$output/steps.txt"
    wine ./SampleHost.exe --frames 30 --screenshot "e2e-output\\host.bmp" \
        --log "e2e-output\\host.log" >"$output/host.txt" 2>&1
    echo "sample host: exit $?" >>"$output/steps.txt"
    for host in MsvcHost MsvcHostProjectHeaders; do
        (cd "$output" && wine "$build/$host.exe" >"$output/$host-x64.txt" 2>&1)
        echo "$host x64: exit $?" >>"$output/steps.txt"
    done
    (cd "$(dirname "$packaged_host")" && wine ./SampleHost.exe "$@" \
        --screenshot packaged.bmp >"$output/packaged-host.txt" 2>&1)
    echo "packaged sample host: exit $?" >>"$output/steps.txt"
    (cd "$example" && wine ./SampleHost.exe "$@" --screenshot example.bmp >"$output/example-x64.txt" 2>&1)
    echo "example x64: exit $?" >>"$output/steps.txt"
    wine ./tools/matrix_bits.exe >"$output/matrix-wine.txt"
    echo "matrix_bits.exe: exit $?" >>"$output/steps.txt"
    wine ./tests/differential/device_probe.exe >"$output/device-probe.txt" 2>&1
    echo "device_probe.exe: exit $?" >>"$output/steps.txt"
    wine ./differential_scenarios.exe >"$output/differential-wine.txt" 2>"$output/differential-wine.err"
    echo "differential_scenarios.exe: exit $?" >>"$output/steps.txt"
' windows-e2e "$build" "$output" "$packaged_host" "$example" "${demo_arguments[@]}" || status=$?
echo "(Wine session: $((SECONDS - started)) s)"

# A googletest program's own count, from its closing lines; one that did not
# finish counts as a failure besides.
check_gtest() {  # step-name log
    local passed_count failed_count
    passed_count=$(grep -oP '^\[  PASSED  \] \K[0-9]+' "$2" || echo 0)
    failed_count=$(grep -oP '^\[  FAILED  \] \K[0-9]+(?= tests?, listed below)' "$2" || echo 0)
    pass "$passed_count"
    [ "$failed_count" -eq 0 ] || fail "$failed_count" "$1 (see $2)"
    grep -qx "$1: exit 0" "$output/steps.txt" 2>/dev/null ||
        { [ "$failed_count" -gt 0 ] || fail 1 "$1 did not finish (see $2)"; }
}
check_gtest e2e_tests "$output/e2e_tests.txt"

# A step of the session passed when it exited 0 (and left its picture).
check_step() {  # step-name description [picture]
    if grep -qx "$1: exit 0" "$output/steps.txt" 2>/dev/null &&
       { [ -z "${3:-}" ] || [ "$(head -c 2 "$3" 2>/dev/null)" = "BM" ]; }; then
        pass 1
    else
        fail 1 "$2"
    fi
}
check_step "sample host" "the sample host's short run (see $output/host.txt)" "$output/host.bmp"
# The Microsoft-ABI host passed when it also printed its closing count: a
# program that Wine could not start at all may still leave exit status 0.
check_msvc_host() {  # host arch
    local log="$output/$1-$2.txt"
    if grep -qx "$1 $2: exit 0" "$output/steps.txt" 2>/dev/null &&
       grep -qP "^msvc host \\($2\\): [1-9][0-9]* checks, 0 failed\r?$" "$log"; then
        pass 1
        grep -h 'checks,' "$log"
    else
        fail 1 "the Microsoft-ABI host $1 on $2 (see $log)"
    fi
}
for host in MsvcHost MsvcHostProjectHeaders; do
    check_msvc_host "$host" x64
done
check_step "packaged sample host" "the sample host of $(basename "$package") (see $output/packaged-host.txt)" \
    "$(dirname "$packaged_host")/packaged.bmp"
# The example built from a package draws what the sample host draws.
check_example() {  # x64|x86 its-picture the-sample-host's-picture
    if grep -qx "example $1: exit 0" "$output/steps.txt" 2>/dev/null &&
       python3 "$root/tools/compare_pictures.py" "$3" "$2" --ignore "$demo_info_line"; then
        pass 1
    else
        fail 1 "the $1 example built from its package, against the sample host (see $output/example-$1.txt, $2)"
    fi
}
check_example x64 "$example/example.bmp" "$(dirname "$packaged_host")/packaged.bmp"

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

echo "== The x86 build under Wine (32-bit programs, Mesa's softpipe)"
run_x86=yes
missing_part=$(wine_32_bit_part_missing)
if [ "${TEST_X86:-1}" = 0 ]; then
    run_x86=no
    echo "x86: NOT RUN (TEST_X86=0); the x86 DLL and hosts were built and checked statically"
elif [ -n "$missing_part" ]; then
    run_x86=no
    echo "x86: NOT RUN under Wine ($missing_part); the x86 DLL and hosts were built and checked statically"
fi
if [ "$run_x86" = yes ]; then
    started=$SECONDS
    status=0
    WINE_SESSION_TIMEOUT=1500 wine_headless_softpipe "$screen" bash -c '
        build=$1 build_x86=$2 output=$3 example_x86=$4
        shift 4
        (cd "$build_x86" && wine ./e2e_tests.exe --gtest_color=no 2>&1) |
            tee "$output/e2e_tests-x86.txt"
        echo "e2e_tests x86: exit ${PIPESTATUS[0]}" >>"$output/steps.txt"
        cd "$output"
        for host in MsvcHost MsvcHostProjectHeaders; do
            wine "$build_x86/$host.exe" >"$host-x86.txt" 2>&1
            echo "$host x86: exit $?" >>steps.txt
        done
        for arch in x86 x64; do
            program=$build_x86/SampleHost.exe
            [ "$arch" = x86 ] || program=$build/SampleHost.exe
            wine "$program" "$@" --screenshot "demo-$arch.bmp" >"demo-$arch.txt" 2>&1
            echo "demo $arch: exit $?" >>steps.txt
        done
        (cd "$example_x86" && wine ./SampleHost.exe "$@" --screenshot example.bmp) >example-x86.txt 2>&1
        echo "example x86: exit $?" >>steps.txt
    ' windows-x86 "$build" "$build_x86" "$output" "$example_x86" "${demo_arguments[@]}" || status=$?
    echo "(x86 Wine session: $((SECONDS - started)) s, status $status)"

    check_gtest "e2e_tests x86" "$output/e2e_tests-x86.txt"
    for host in MsvcHost MsvcHostProjectHeaders; do
        check_msvc_host "$host" x86
    done
    check_step "demo x86" "the x86 sample host's short run (see $output/demo-x86.txt)" "$output/demo-x86.bmp"
    # 32-bit Wine may round differently in the last bits, and its FreeType
    # anti-aliases some glyph edges differently (measured: the scene within 1,
    # glyph edges within 14 on 0.5% of the pixels).
    if grep -qx "demo x64: exit 0" "$output/steps.txt" &&
       python3 "$root/tools/compare_pictures.py" "$output/demo-x64.bmp" "$output/demo-x86.bmp" \
           --tolerance 16 --share 1 --ignore "$demo_info_line"; then
        pass 1
    else
        fail 1 "the x86 demo picture against the x64 one (see $output/demo-x86.bmp, demo-x64.bmp)"
    fi
    check_example x86 "$example_x86/example.bmp" "$output/demo-x86.bmp"
fi

echo "Windows end-to-end: $passed passed, $failed failed (x86 run under Wine: $run_x86)"
[ "$failed" -eq 0 ]
