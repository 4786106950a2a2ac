#!/usr/bin/env bash
# The Windows launcher's demo under Wine, on a fresh Debian 12 machine (as root): installs
# what it needs, builds the Windows distribution, and walks the whole setup with the real
# waits, clicking the real window on an X server and in a Wine prefix of its own, on a
# private host named "localhost" whose network is loopback alone. Saves a screenshot after
# each step and box, prints hjpz.ini, the engine's databases and the client's copy, and
# stops the engine it installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scratch=${LAUNCHER_WINDOWS_DEMO_DIR:-/tmp/launcher-windows-demo}

if [[ ${LAUNCHER_PRIVATE_HOST:-} != 1 ]]; then
    bash tools/install-dependencies.sh
    bash tools/install-windows-dependencies.sh
    # The distribution's backup is written by an engine built for this host.
    engine=${LAUNCHER_HOST_ENGINE:-}
    if [[ -z $engine ]]; then
        cmake --preset default
        cmake --build --preset default -j2 --target tdsengine
        engine=$root/build/distribution/engine/tdsengine
    fi
    cmake --preset windows -DLAUNCHER_HOST_ENGINE="$engine"
    cmake --build --preset windows -j2 --target dist-windows window-reader
    status=0
    bash demo/windows/on-private-host.sh bash "$0" || status=$?
    ((status != 77)) || echo "The Windows demo runs as root, on a private host of its own."
    exit "$status"
fi

# shellcheck source=windows/walk.sh
source demo/windows/walk.sh
rm -rf "$scratch"
mkdir -p "$scratch/screenshots"
dist=
finish() {
    [[ -n $dist ]] && (cd "$dist" && wine cmd /c stop-engine.bat) </dev/null >/dev/null 2>&1
    walk_session_stop
}
trap finish EXIT
walk_session_start "$scratch/wine" build-windows/demo/window-reader.exe
dist="$WINEPREFIX/drive_c/演示 安装目录"
client="$WINEPREFIX/drive_c/Program Files/蔚檀"
cp -r build-windows/dist-windows "$dist"
echo "Distribution: $dist"
echo "The computer: $(hostname), on loopback alone"
WALK_SHOTS="$scratch/screenshots" walk_whole_setup "$dist"

echo
echo "== hjpz.ini beside the launcher (code page 936, shown as UTF-8) =="
iconv -f GBK -t UTF-8 "$dist/hjpz.ini" | tr -d '\r'
echo
echo "== Databases of the instance LOCALHOST\\home, as the host's tsql sees them =="
printf 'SELECT name FROM sys.databases\ngo\nexit\n' |
    timeout 60 tsql -S 'localhost\home' -U sa -P tulip 2>/dev/null |
    grep -vE '^(locale|using|Setting|[0-9]+>|\([0-9]+ rows? affected\))' || true
echo
echo "== The client's folder: $client =="
ls -l "$client" 2>/dev/null || echo "(not there)"
if [[ -f $client/hjpz.ini ]]; then iconv -f GBK -t UTF-8 "$client/hjpz.ini" | tr -d '\r'; fi
echo
echo "Screenshots: $scratch/screenshots"
