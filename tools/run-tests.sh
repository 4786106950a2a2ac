#!/usr/bin/env bash
# Installs what the tests need, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, checks the formatting and runs every test; then does the same
# for the Windows launcher, cross-built and tested under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-dependencies.sh
cmake --preset sanitize
cmake --build --preset sanitize -j2
ctest --preset sanitize -j2

# The Windows launcher, cross-built and tested under Wine.
bash tools/install-windows-dependencies.sh
bash tools/run-windows-tests.sh
