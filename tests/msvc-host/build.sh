#!/usr/bin/env bash
# Builds the test host with Microsoft's C++ ABI and no Microsoft SDK or
# runtime of its own: clang for the windows-msvc target, lld-link, and import
# libraries that llvm-dlltool makes from kernel32.def, user32.def and
# msvcrt.def (the system's C runtime, for formatting and strings).
#   tests/msvc-host/build.sh x64|x86 OUTPUT_DIR
# leaves in OUTPUT_DIR
#   MsvcHost.exe                the host with its own interface declarations
#   MsvcHostProjectHeaders.exe  the same host compiled with the plug-in's headers
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
arch=${1:?usage: build.sh x64|x86 OUTPUT_DIR}
out=${2:?usage: build.sh x64|x86 OUTPUT_DIR}

case "$arch" in
x64) target=x86_64-pc-windows-msvc machine=i386:x86-64 link_machine=x64 ;;
x86) target=i686-pc-windows-msvc machine=i386 link_machine=x86 ;;
*) echo "build.sh: unknown architecture '$arch' (x64 or x86)" >&2; exit 2 ;;
esac

mkdir -p "$out/msvc-host-objects"
objects="$out/msvc-host-objects"

# Import libraries. The .def files carry x86's stdcall decorations; --kill-at
# imports the plain names that the DLLs export. x64 has no decorations.
for def in kernel32 user32 msvcrt; do
    if [ "$arch" = x86 ]; then
        llvm-dlltool -m "$machine" -k -d "$here/$def.def" -l "$objects/$def.lib"
    else
        sed 's/@[0-9]*$//' "$here/$def.def" >"$objects/$def.def"
        llvm-dlltool -m "$machine" -d "$objects/$def.def" -l "$objects/$def.lib"
    fi
done

# Freestanding: no C or C++ library headers but the compiler's own and the
# host's include/ (a <cstdint> for the plug-in's headers).
flags=(--target="$target" -std=c++17 -O2 -Wall -Wextra -Werror
       -ffreestanding -fno-exceptions -fno-rtti -fno-stack-protector -mno-stack-arg-probe
       -nostdinc++ -nostdlibinc -I"$here/include")

compile() {  # source object [extra flags...]
    local source=$1 object=$2
    shift 2
    clang++ "${flags[@]}" "$@" -c "$source" -o "$object"
}
compile "$here/Runtime.cpp" "$objects/Runtime.obj"
compile "$here/main.cpp" "$objects/main.obj"
compile "$here/main.cpp" "$objects/main-project-headers.obj" \
    -DHOST_USES_PROJECT_HEADERS -I"$root/extra"

link() {  # exe main-object
    lld-link /nologo /machine:"$link_machine" /subsystem:console /entry:HostEntry /nodefaultlib \
        /out:"$1" "$2" "$objects/Runtime.obj" \
        "$objects/kernel32.lib" "$objects/user32.lib" "$objects/msvcrt.lib"
}
link "$out/MsvcHost.exe" "$objects/main.obj"
link "$out/MsvcHostProjectHeaders.exe" "$objects/main-project-headers.obj"
