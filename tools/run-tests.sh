#!/usr/bin/env bash
# Installs what the tests need, builds everything as a plain Release build and with
# AddressSanitizer and UndefinedBehaviorSanitizer, checks the formatting and runs every
# test; then does the same for the Windows launcher, cross-built and tested under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-dependencies.sh
# A packager's plain Release build (-O3), with warnings as errors here so that none creeps in.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-release -j2
cmake --preset sanitize
cmake --build --preset sanitize -j2
ctest --preset sanitize -j2

# The Windows launcher, cross-built and tested under Wine.
bash tools/install-windows-dependencies.sh
bash tools/run-windows-tests.sh
