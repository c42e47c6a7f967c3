#!/usr/bin/env bash
# Checks CActor's virtual table as the compilers that build the plug-in lay it
# out: ICharacter's operations in the order hosts call them, then
# ApplyMaterial, which the graphics system calls through the table, and
# nothing between them (a virtual destructor would put GCC's two destructor
# slots there). Each compiler dumps the table of extra/CActor.cpp, where it is
# emitted. The compilers of the two builds must be there: a check that
# checked nothing would pass for one that found the table right.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The slot order hosts are built against, as a compiler other than
# Microsoft's names slot 0. Written out here rather than read from
# ICharacter.h, so that a change to the header's order shows as a failure.
expected="DeletingDestructor Init Release Render Destroy Create SetTextures SetPosition SetRotation SetScale
ApplyFVF ApplyBuffers ApplyTextures SetMaterial OnLostDevice OnResetDevice GetFVF GetMaterial GetLayer
SetAlphaBlend SetTextureAlpha ApplyMaterial"
expected=$(echo $expected | tr ' ' '\n')

gcc_table() {  # compiler, flags...: CActor's entries from GCC's class dump
    (cd "$scratch" && "$@" -std=c++17 -fdump-lang-class -c "$root/extra/CActor.cpp" -o actor.o)
    awk '/^Vtable for CActor$/ { inside = 1; next } inside && /^$/ { exit }
         inside && /^[0-9]+ .*CActor::/ { sub(/.*CActor::/, ""); print }' "$scratch"/*.class
    rm -f "$scratch"/*.class
}

clang_table() {  # compiler, flags...: CActor's entries from clang's layout dump
    "$@" -std=c++17 -Xclang -fdump-vtable-layouts -c "$root/extra/CActor.cpp" -o "$scratch/actor.o" \
        >"$scratch/layouts.txt"
    awk "/^Vtable for 'CActor'/ { inside = 1; next } inside && /^$/ { exit }
         inside && /CActor::/ { sub(/.*CActor::/, \"\"); sub(/\\(.*/, \"\"); print }" "$scratch/layouts.txt"
}

failed=0
check() {  # required or optional, name, table function, compiler, flags...
    local need=$1 name=$2 table=$3
    shift 3
    if ! command -v "$1" >/dev/null; then
        if [ "$need" = required ]; then
            echo "FAIL: $name: $1 is not installed (scripts/install-packages.sh installs it)" >&2
            failed=1
        else
            echo "skipped: $name ($1 is not installed)"
        fi
        return
    fi
    local actual
    actual=$("$table" "$@")
    if [ "$actual" = "$expected" ]; then
        echo "ok: $name"
    else
        echo "FAIL: $name lays out CActor's table as:" >&2
        echo "$actual" >&2
        failed=1
    fi
}

linux=(-I"$root/extra" -I"$root/errors" -I"$root/standin/include")
windows=(-I"$root/extra" -I"$root/errors")
check required "g++ (Linux)" gcc_table g++ "${linux[@]}"
check optional "clang++ (Linux, the fuzzer's)" clang_table clang++-14 "${linux[@]}"
check required "MinGW-w64 g++ (x64)" gcc_table x86_64-w64-mingw32-g++-win32 "${windows[@]}"
check required "MinGW-w64 g++ (x86)" gcc_table i686-w64-mingw32-g++-win32 "${windows[@]}"
exit $failed
