#!/usr/bin/env bash
# Installs, from Debian 12's packages, everything the launcher needs to build, test,
# benchmark and run its demo. Run as root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
    cmake make ninja-build g++ pkg-config git ca-certificates clang-format
    qt6-base-dev libgl-dev fonts-wqy-microhei xvfb xauth xdg-utils
    freetds-dev freetds-bin
    libgtest-dev libgmock-dev googletest libbenchmark-dev hyperfine
    procps
    unixodbc unixodbc-dev tdsodbc libssl-dev openssl
)
# The engine is tried with a JavaScript TDS client, which the build fetches with npm.
command -v node >/dev/null || packages+=(nodejs npm)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
