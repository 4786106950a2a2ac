#!/usr/bin/env bash
# Builds the Windows launcher with MinGW-w64 and runs its tests under Wine: a private Wine
# prefix, a private X display and one wineserver kept running for the whole run, all removed
# at the end. Expects the packages of tools/install-windows-dependencies.sh. The ODBC tests
# run against a stand-in engine built for this host: LAUNCHER_HOST_ENGINE, by default the
# one of the sanitize build that tools/run-tests.sh makes first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

engine=${LAUNCHER_HOST_ENGINE:-$root/build-sanitize/distribution/engine/tdsengine}
[[ -x $engine ]] || { echo "no stand-in engine at $engine: the ODBC tests are left out"; engine=; }
cmake --preset windows -DLAUNCHER_HOST_ENGINE="$engine"
cmake --build --preset windows -j2

work=$(mktemp -d /tmp/launcher-wine-XXXXXX)
xvfb_pid=
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The window tests need a display; Wine attaches its desktop to the one it starts with.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

export WINEPREFIX="$work/prefix" WINEARCH=win64 LANG=C.UTF-8
# "-all" alone hides a missing DLL behind exit code 53.
export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL
bash tools/make-wine-prefix.sh

ctest --preset windows -j2
