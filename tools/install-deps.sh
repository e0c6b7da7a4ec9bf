#!/bin/bash
# Installs, from Debian's archive, the packages that the builds, tests and demo need.
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64 xvfb xauth x11-apps imagemagick gettext python3
    libbenchmark-dev clang-tidy clang-format cppcheck
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    [ "$(id -u)" = 0 ] && sudo="" || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
