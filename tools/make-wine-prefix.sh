#!/usr/bin/env bash
# Makes a Wine prefix for the Windows launcher's tests and benchmarks, and leaves its
# wineserver running (stop it with "wineserver -k" under the same WINEPREFIX). The Chinese
# faces and the dialog font are drawn with the CJK font Debian ships; with no window manager
# on Xvfb, Wine draws the window frames itself.
# Usage: WINEPREFIX=<new folder> DISPLAY=<display> make-wine-prefix.sh
set -euo pipefail
: "${WINEPREFIX:?}"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all,err+module} WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's registry tools mangle Chinese names under the C locale.
export LANG=C.UTF-8
unset LC_ALL

# Kept running, so that each program starts in a fraction of a second instead of waiting
# for Wine's background processes, which would also hold the caller's output pipe.
mkdir -p "$WINEPREFIX"
wineserver -p
wine wineboot >/dev/null 2>&1

settings=$(mktemp --suffix=.reg)
trap 'rm -f "$settings"' EXIT
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
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo '"Decorated"="N"'
} | iconv -f UTF-8 -t UTF-16 >"$settings"
wine regedit /S "$(winepath -w "$settings")" >/dev/null 2>&1
