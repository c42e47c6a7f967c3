#!/usr/bin/env bash
# Checks that a build of the plug-in exports GetPlugin and nothing else, and
# that the Windows DLL needs only system DLLs besides d3d9 and d3dx9_29.
set -euo pipefail
module=$1

fail() { echo "FAIL: $module: $*" >&2; exit 1; }

case "$module" in
*.dll)
    dump=$(x86_64-w64-mingw32-objdump -p "$module")
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
echo "$module: exports GetPlugin only"
