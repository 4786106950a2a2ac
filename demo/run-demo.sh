#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine (as root), assembles the demo
# distribution in a scratch directory with its own drive C, and runs the whole setup:
# with a display the operator clicks through the launcher; without one the demo's
# driver clicks through the real window on Qt's offscreen platform, with the real waits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-dependencies.sh
cmake --preset default
cmake --build --preset default -j2 --target distribution launcher-demo

scratch=${LAUNCHER_DEMO_DIR:-/tmp/launcher-demo}
dist="$scratch/演示 安装目录"
export LAUNCHER_DRIVE_C="$scratch/drive_c"
engine="$LAUNCHER_DRIVE_C/Program Files/Database Engine/home"

# An engine left running by an earlier demo goes first, with its drive C.
if [ -x "$dist/stop-engine.sh" ]; then (cd "$dist" && ./stop-engine.sh) || true; fi
rm -rf "$scratch"
mkdir -p "$LAUNCHER_DRIVE_C" "$scratch/screenshots"
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
cp -a build/dist "$dist"
trap '(cd "$dist" && ./stop-engine.sh) || true' EXIT

# The launcher reaches the engine by this computer's name, and resolving it must ask no
# server off this computer: keep the name when /etc/hosts maps it to loopback, otherwise
# name the computer by its loopback address.
maps_to_loopback() {
    awk -v name="$1" 'BEGIN { name = tolower(name) }
        $1 ~ /^(127\.|::1$)/ { for (i = 2; i <= NF && $i !~ /^#/; i++) if (tolower($i) == name) found = 1 }
        END { exit !found }' /etc/hosts 2>/dev/null
}
if [ -z "${COMPUTERNAME:-}" ]; then
    # The launcher's computer name is the host name's first label, at most 15 characters.
    short=$(hostname | cut -d. -f1 | cut -c1-15)
    { maps_to_loopback "$(hostname)" && maps_to_loopback "$short"; } || export COMPUTERNAME=127.0.0.1
elif ! maps_to_loopback "$COMPUTERNAME"; then
    export COMPUTERNAME=127.0.0.1
fi

echo "Distribution: $dist"
echo "Drive C:      $LAUNCHER_DRIVE_C"
cd "$dist"
if [ -n "${DISPLAY:-}" ]; then
    echo "Click through the launcher's window; close it with 退出 when done."
    ./launcher
else
    cp "$root/build/demo/launcher-demo" .
    QT_QPA_PLATFORM=offscreen ./launcher-demo "$scratch/screenshots"
    rm -f launcher-demo
fi

echo
echo "== hjpz.ini beside the launcher (code page 936, shown as UTF-8) =="
iconv -f GBK -t UTF-8 hjpz.ini
echo
echo "== Databases of the instance home =="
if [ -s "$engine/engine.port" ]; then
    printf 'SELECT name FROM sys.databases\ngo\nexit\n' |
        tsql -H 127.0.0.1 -p "$(cat "$engine/engine.port")" -U sa -P tulip 2>/dev/null |
        grep -vE '^(locale|using|Setting|[0-9]+>|\([0-9]+ rows? affected\))' || true
else
    echo "(the engine is not running)"
fi
echo
echo "== The client's folder: $LAUNCHER_DRIVE_C/Program Files/蔚檀 =="
ls -l "$LAUNCHER_DRIVE_C/Program Files/蔚檀" 2>/dev/null || echo "(not there)"
if [ -f "$LAUNCHER_DRIVE_C/Program Files/蔚檀/hjpz.ini" ]; then
    iconv -f GBK -t UTF-8 "$LAUNCHER_DRIVE_C/Program Files/蔚檀/hjpz.ini"
fi
echo
echo "Screenshots: $scratch/screenshots"
