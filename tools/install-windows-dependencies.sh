#!/usr/bin/env bash
# Installs, from Debian 12's packages, what the Windows build and its tests under Wine need:
# the MinGW-w64 cross compiler, Wine, an X server and tools to drive a window, a CJK font,
# ODBC with FreeTDS's driver for Wine's odbc32 to hand its calls to, FreeTDS's tsql that the
# tests talk to the Windows engine with, and a private network for the whole-setup walk
# (iproute2). Run as root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
    cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
    wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei locales
    unixodbc tdsodbc freetds-bin iproute2 python3
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    apt-get -o DPkg::Lock::Timeout=600 update -q
    apt-get install -o DPkg::Lock::Timeout=600 -y -q --no-install-recommends "${missing[@]}"
fi
