#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, when missing,
# then fetches the one header that the tests read from a package not installed,
# and sets up what the x86 build needs to run: 32-bit programs (through
# emulation where this kernel cannot run them), Wine's 32-bit part and 32-bit
# OpenGL. That part never fails the install: a step of it that cannot be done
# says so in one line, and the x86 build is then built and checked, not run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake g++ make python3 python3-pefile binutils zip unzip
    libgtest-dev libgmock-dev googletest
    clang-14 libclang-rt-14-dev
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    clang lld llvm
    wine wine64 xvfb xauth fonts-wine libgl1-mesa-dri
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# One look at dpkg's database ("name:architecture version" a line), taken
# again after every install: one query per package costs seconds.
read_installed() {
    installed_packages=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}:${Architecture} ${Version}\n' \
        2>/dev/null | awk '$1 == "ii" { print $2, $3 }')
}
read_installed
installed() {  # name or name:architecture
    awk -v name="$1" '$1 == name || index($1, name ":") == 1 { found = 1 } END { exit !found }' \
        <<<"$installed_packages"
}
version_of() {  # name:architecture
    awk -v name="$1" '$1 == name { print $2 }' <<<"$installed_packages"
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # A list that fails to refresh (a mirror in the middle of a sync) need not
    # stop the install: apt says below whether the packages are there.
    $sudo apt-get update -qq || echo "warning: some package lists could not be refreshed"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    read_installed
fi

# The error table's regeneration check (a unit test) reads dvoice.h, which
# only Wine's development package has: downloaded here and unpacked, not
# installed, into build/error-headers, so that the tests download nothing.
fetch_dvoice() { python3 "$root/errors/generator/generate_error_names.py" --fetch-dvoice; }
if [ ! -f "$root/build/error-headers/usr/include/wine/wine/windows/dvoice.h" ]; then
    fetch_dvoice || { $sudo apt-get update -qq && fetch_dvoice; } ||
        echo "dvoice.h could not be fetched: the error table's regeneration check will be skipped"
fi

# --- What the x86 build needs to run ----------------------------------------

# A 32-bit Linux program of 93 bytes that only exits 0: whether it runs tells
# whether this kernel runs 32-bit programs, natively or through emulation.
runs_32_bit_programs() {
    local program="$root/build/exit-0-i386"
    mkdir -p "$root/build"
    python3 - "$program" <<'EOF'
import struct, sys
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # mov eax, 1 (exit); xor ebx, ebx; int 0x80
base, header, segment_header = 0x08048000, 52, 32
size = header + segment_header + len(code)
elf = b"\x7fELF\x01\x01\x01" + bytes(9) + struct.pack(  # 32-bit, little-endian, System V
    "<HHIIIIIHHHHHH", 2, 3, 1, base + header + segment_header,  # executable, i386, entry
    header, 0, 0, header, segment_header, 1, 0, 0, 0)  # one segment header, no sections
segment = struct.pack("<8I", 1, 0, base, base, size, size, 5, 0x1000)  # the whole file, read + execute
with open(sys.argv[1], "wb") as out:
    out.write(elf + segment + code)
EOF
    chmod +x "$program"
    "$program" 2>/dev/null
}

# Debian's qemu-user-static runs them where the kernel cannot. The kernel
# learns that through binfmt_misc, which forgets it at every boot: registered
# here whenever it is missing. Magic and mask are the i386 ELF header that
# qemu's own configuration matches (executables and shared objects); flag F
# opens the interpreter now, so that it serves every chroot and namespace too.
binfmt=/proc/sys/fs/binfmt_misc
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
register_emulation() {
    if ! installed qemu-user-static; then
        apt_get_update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            qemu-user-static >/dev/null 2>&1 || { echo "qemu-user-static does not install"; return 1; }
    fi
    if ! mountpoint -q "$binfmt"; then
        $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
            { echo "binfmt_misc cannot be mounted on $binfmt"; return 1; }
    fi
    # An entry of that name that does not run them makes way for this one.
    if [ -e "$binfmt/qemu-i386" ]; then
        echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
    fi
    printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:/usr/bin/qemu-i386-static:F" |
        $sudo tee "$binfmt/register" >/dev/null 2>&1 ||
        { echo "the kernel refuses a binfmt_misc entry for qemu-i386-static"; return 1; }
}

# Wine's 32-bit part, 32-bit OpenGL (libglvnd's libGL, Mesa's GLX and
# driver) and the X client libraries that Wine loads besides, each at the
# version of its installed 64-bit twin: multi-arch packages must match.
x86_packages=(
    wine32 libgl1 libglx-mesa0 libgl1-mesa-dri
    libx11-6 libxext6 libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1
    libxcomposite1 libxfixes3 libxxf86vm1 libfreetype6 libfontconfig1
)
x86_packages_missing() {  # one a line, as apt-get names them
    local package twin version
    for package in "${x86_packages[@]}"; do
        twin=$package
        [ "$package" != wine32 ] || twin=wine64
        version=$(version_of "$twin:amd64")
        if ! installed "$package:i386" ||
           { [ -n "$version" ] && [ "$(version_of "$package:i386")" != "$version" ]; }; then
            echo "$package:i386${version:+=$version}"
        fi
    done
}

# The plan may bring 64-bit libraries up to the current point release (their
# i386 twins come at that version; these are security updates), but must not
# change what builds and draws: a compiler, binutils, CMake, Wine or Mesa.
# Nor may it remove anything.
toolchain='^(cpp|gcc|g\+\+|clang|llvm|lld|libllvm|libclang|binutils|cmake|wine|libwine|libgbm|libgl1|libglx|libglapi)|mesa|mingw'
plan_refusal() {  # apt-get's simulated plan: why it cannot be taken, or nothing
    local removed changed
    removed=$(awk '/^Remv /{print $2}' <<<"$1" | tr '\n' ' ')
    changed=$(awk '/^Inst [^ ]+ \[/{print $2}' <<<"$1" | sed 's/:.*//' | grep -E "$toolchain" | tr '\n' ' ')
    if [ -n "$removed" ]; then
        echo "it would remove ${removed% }"
    elif [ -n "$changed" ]; then
        echo "it would change ${changed% }"
    fi
}

updated=no
apt_get_update() {
    [ "$updated" = no ] || return 0
    updated=yes
    $sudo apt-get update -qq >/dev/null 2>&1 || true
}

install_x86_packages() {  # package=version...
    local plan refusal
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        updated=no
    fi
    apt_get_update
    if ! plan=$($sudo apt-get install -s --no-install-recommends "$@" 2>&1); then
        echo "apt-get has no way to install them ($(grep -m1 '^E:' <<<"$plan"))"
        return 1
    fi
    refusal=$(plan_refusal "$plan")
    if [ -n "$refusal" ]; then
        echo "installing them is refused: $refusal"
        return 1
    fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" \
        >/dev/null 2>&1 || { echo "apt-get install failed"; return 1; }
}

# A failed install is remembered for a day, so that every run does not pay
# for it again; with nothing of i386 installed, the architecture is dropped
# again so that its package lists cannot break later updates.
x86_stamp="$root/build/x86-packages-failed"
setup_x86_runs() {
    local why missing
    if ! runs_32_bit_programs; then
        why=$(register_emulation) && runs_32_bit_programs ||
            { echo "${why:-32-bit programs do not run even through qemu-i386-static}"; return 1; }
    fi
    mapfile -t missing < <(x86_packages_missing)
    [ ${#missing[@]} -gt 0 ] || return 0
    if [ -n "$(find "$x86_stamp" -mmin -1440 2>/dev/null)" ]; then
        echo "$(cat "$x86_stamp") (less than a day ago; delete $x86_stamp to try again now)"
        return 1
    fi
    echo "Installing what the x86 build needs to run: ${missing[*]}" >&2
    if ! why=$(install_x86_packages "${missing[@]}"); then
        echo "Wine's 32-bit part does not install: $why" | tee "$x86_stamp"
        if ! dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -qx i386; then
            $sudo dpkg --remove-architecture i386 2>/dev/null || true
        fi
        return 1
    fi
    rm -f "$x86_stamp"
}
if ! why=$(setup_x86_runs); then
    echo "x86: not set up: $why; the x86 build will be built and checked, not run"
fi
exit 0
