#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, when missing.
set -euo pipefail

packages=(
    cmake g++ make python3 binutils
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang-14 libclang-rt-14-dev
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth fonts-wine libgl1-mesa-dri
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
