#!/usr/bin/env bash
# Checks CActor's virtual table as every compiler that builds the plug-in lays
# it out: ICharacter's operations in the header's order, then ApplyMaterial,
# which the graphics system calls through the table, and nothing between them
# (a virtual destructor would put GCC's two destructor slots there). Each
# compiler dumps the table of extra/CActor.cpp, where it is emitted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Slot order of ICharacter as a compiler other than Microsoft's sees it.
expected=$(sed '/#ifdef _MSC_VER/,/#else/d' "$root/extra/ICharacter.h" |
    grep -oE '^ +virtual [^(]*[ *]([A-Za-z]+)\(' | grep -oE '[A-Za-z]+\($' | tr -d '(')
expected+=$'\nApplyMaterial'

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
check() {  # name, table function, compiler, flags...
    local name=$1 table=$2
    shift 2
    if ! command -v "$1" >/dev/null; then
        echo "skipped: $name ($1 is not installed)"
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
check "g++ (Linux)" gcc_table g++ "${linux[@]}"
check "clang++ (Linux, the fuzzer's)" clang_table clang++-14 "${linux[@]}"
check "MinGW-w64 g++ (x64)" gcc_table x86_64-w64-mingw32-g++-win32 "${windows[@]}"
check "MinGW-w64 g++ (x86)" gcc_table i686-w64-mingw32-g++-win32 "${windows[@]}"
exit $failed
