#!/usr/bin/env bash
# Checks that a build of the plug-in exports GetPlugin and nothing else, and
# that the Windows DLL needs only system DLLs besides d3d9 and d3dx9_29.
# Windows DLLs of both builds (x64 and x86) are read with the objdump of
# their own MinGW-w64 toolchain. With a second argument (x64 or x86) the DLL
# must also be of that architecture.
set -euo pipefail
module=$1
expected_arch=${2:-}

fail() { echo "FAIL: $module: $*" >&2; exit 1; }

# x64 or x86, from the machine field of the PE header (its offset is at 0x3c).
pe_architecture() {
    local header machine
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    [ "$(od -An -c -j"$header" -N2 "$1" | tr -d ' ')" = "PE" ] || return 1
    machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
    case "$machine" in
    8664) echo x64 ;;
    014c) echo x86 ;;
    *) echo "$machine" ;;
    esac
}

case "$module" in
*.dll)
    arch=$(pe_architecture "$module") || fail "is not a Windows DLL"
    [ -z "$expected_arch" ] || [ "$arch" = "$expected_arch" ] || fail "is $arch, expected $expected_arch"
    case "$arch" in
    x64) objdump=x86_64-w64-mingw32-objdump ;;
    x86) objdump=i686-w64-mingw32-objdump ;;
    *) fail "unexpected machine type $arch" ;;
    esac
    dump=$($objdump -p "$module")
    exports=$(sed -n '/Ordinal\/Name Pointer/,/^$/p' <<<"$dump" | grep -oP '^\s+\[ *[0-9]+\] \K\S+' || true)
    [ "$exports" = "GetPlugin" ] || fail "exports '$exports', expected GetPlugin alone"
    allowed='^(d3d9|d3dx9_29|kernel32|user32|gdi32|msvcrt|advapi32|ntdll)\.dll$'
    while read -r dll; do
        [[ ${dll,,} =~ $allowed ]] || fail "imports $dll"
    done < <(grep -oP 'DLL Name: \K\S+' <<<"$dump")
    grep -qi 'DLL Name: d3d9.dll' <<<"$dump" || fail "does not import d3d9.dll"
    grep -qi 'DLL Name: d3dx9_29.dll' <<<"$dump" || fail "does not import d3dx9_29.dll"
    ;;
*.so)
    exports=$(nm -D --defined-only "$module" | awk '{print $3}')
    [ "$exports" = "GetPlugin" ] || fail "exports '$exports', expected GetPlugin alone"
    ;;
*) fail "unknown module type" ;;
esac
echo "$module: exports GetPlugin only${arch:+ ($arch)}"
