#!/usr/bin/env bash
# Builds the Windows launcher with MinGW-w64 and runs its tests under Wine: a private Wine
# prefix, a private X display and one wineserver kept running for the whole run, all removed
# at the end. Expects the packages of tools/install-windows-dependencies.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset windows
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

export WINEPREFIX="$work/prefix" WINEARCH=win64
# "-all" alone hides a missing DLL behind exit code 53.
export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's registry tools mangle Chinese names under the C locale.
export LANG=C.UTF-8
unset LC_ALL

# Kept running, so that each test program starts in a fraction of a second instead of
# waiting for Wine's background processes, which would also hold ctest's output pipe.
mkdir -p "$WINEPREFIX"
wineserver -p
wine wineboot >/dev/null 2>&1

# The window's Chinese faces, and the dialog font, drawn with the CJK font Debian ships.
{
    echo 'REGEDIT4'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    for face in 宋体 新宋体 SimSun NSimSun Tahoma; do
        echo "\"$face\"=\"WenQuanYi Micro Hei\""
    done
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
    echo '"MS Sans Serif,134"="WenQuanYi Micro Hei,134"'
    echo
    # No window manager on Xvfb: Wine draws the frame itself.
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo '"Decorated"="N"'
} | iconv -f UTF-8 -t UTF-16 >"$work/settings.reg"
wine regedit /S "$(winepath -w "$work/settings.reg")" >/dev/null 2>&1

ctest --preset windows -j2
