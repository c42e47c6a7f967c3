#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, when missing,
# and fetches the one header that the tests read from a package not installed.
set -euo pipefail

packages=(
    cmake g++ make python3 binutils
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth fonts-wine libgl1-mesa-dri
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The error table's regeneration check (a unit test) reads dvoice.h, which
# only Wine's development package has: downloaded here and unpacked, not
# installed, into build/error-headers, so that the tests download nothing.
root=$(cd "$(dirname "$0")/.." && pwd)
fetch_dvoice() { python3 "$root/errors/generator/generate_error_names.py" --fetch-dvoice; }
if [ ! -f "$root/build/error-headers/usr/include/wine/wine/windows/dvoice.h" ]; then
    fetch_dvoice || { $sudo apt-get update -qq && fetch_dvoice; } ||
        echo "dvoice.h could not be fetched: the error table's regeneration check will be skipped"
fi
