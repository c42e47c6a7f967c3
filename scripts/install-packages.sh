#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, when missing,
# then fetches the one header that the tests read from a package not installed,
# and tries once a day to add Wine's 32-bit part, which the x86 build needs
# to run. That last step never fails: without it the x86 build is built and
# checked but not run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake g++ make python3 binutils zip unzip
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang-14 libclang-rt-14-dev
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    clang lld llvm
    wine wine64 xvfb xauth fonts-wine libgl1-mesa-dri
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
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
fi

# The error table's regeneration check (a unit test) reads dvoice.h, which
# only Wine's development package has: downloaded here and unpacked, not
# installed, into build/error-headers, so that the tests download nothing.
fetch_dvoice() { python3 "$root/errors/generator/generate_error_names.py" --fetch-dvoice; }
if [ ! -f "$root/build/error-headers/usr/include/wine/wine/windows/dvoice.h" ]; then
    fetch_dvoice || { $sudo apt-get update -qq && fetch_dvoice; } ||
        echo "dvoice.h could not be fetched: the error table's regeneration check will be skipped"
fi

# Wine's 32-bit part and 32-bit Mesa, at exactly the versions of the 64-bit
# ones installed (multi-arch packages must match). A failed attempt is
# remembered for a day so that every test run does not pay for it again.
wine32_stamp="$root/build/wine32-attempt"
version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }
try_wine32() {
    local wine_version mesa_version
    wine_version=$(version_of wine64)
    mesa_version=$(version_of libgl1-mesa-dri:amd64)
    [ -n "$wine_version" ] && [ -n "$mesa_version" ] || return 1
    echo "Trying to install Wine's 32-bit part (wine32:i386 $wine_version, libgl1-mesa-dri:i386 $mesa_version)"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq >/dev/null 2>&1 || true
    local wanted=("wine32:i386=$wine_version" "libgl1-mesa-dri:i386=$mesa_version") plan
    # Only new packages: an upgrade of an installed one (shown as "Inst name
    # [old version]") would change the 64-bit system under the other builds.
    plan=$($sudo apt-get install -s --no-install-recommends "${wanted[@]}" 2>/dev/null) || return 1
    ! grep -q '^Inst [^ ]* \[' <<<"$plan" || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${wanted[@]}" >/dev/null 2>&1
}
if ! installed wine32:i386 || ! installed libgl1-mesa-dri:i386; then
    if [ -z "$(find "$wine32_stamp" -mmin -1440 2>/dev/null)" ]; then
        mkdir -p "$(dirname "$wine32_stamp")"
        date -u >"$wine32_stamp"
        if try_wine32; then
            echo "Wine's 32-bit part is installed"
        else
            echo "Wine's 32-bit part does not install here; the x86 build will be checked but not run"
            # With nothing of i386 installed, drop the architecture again, so
            # that its package lists cannot break later updates.
            if ! dpkg-query -W -f='${Architecture}\n' 2>/dev/null | grep -qx i386; then
                $sudo dpkg --remove-architecture i386 || true
            fi
        fi
    fi
fi
exit 0
