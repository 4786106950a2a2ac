#!/usr/bin/env bash
# Times the Windows stand-ins under Wine, from a copy of the Windows distribution, each run
# as the launcher runs it (cmd, from the distribution's folder): MSSQL.exe installing and
# starting the engine until it answers, start.bat starting the stopped engine, and
# stop-engine.bat stopping it; against cmd running an empty batch file, the cost of Wine and
# cmd alone. Makes its own Wine prefix and removes it. Needs UDP port 1434 free: run it in a
# network namespace of its own (unshare -n) where other engines run.
#   bench/winstandins/run.sh BUILD-WINDOWS-DIR [hyperfine options...]   (default: --runs 10)
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD-WINDOWS-DIR [hyperfine options]}" && pwd)
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
cmake --build "$build" --target dist-windows >/dev/null

work=$(mktemp -d /tmp/launcher-standins-XXXXXX)
export WINEPREFIX="$work/prefix" WINEARCH=win64 LANG=C.UTF-8
export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
bash "$root/tools/make-wine-prefix.sh" >/dev/null 2>&1

cp -r "$build/dist-windows" "$work/dist"
printf '@echo off\r\ncd /d "%%TEST_DIST%%"\r\ncall %%*\r\nexit /b %%errorlevel%%\r\n' >"$work/run.bat"
printf '@echo off\r\n' >"$work/dist/empty.bat"
export TEST_DIST
TEST_DIST=$(winepath -w "$work/dist")
run="wine cmd /c '$(winepath -w "$work/run.bat")'"
instance=$(winepath -u 'C:\Program Files\Database Engine')

[ $# -gt 0 ] || set -- --runs 10
hyperfine --warmup 1 "$@" \
    --prepare true --prepare "$run stop-engine.bat; rm -rf '$instance'" \
    --prepare "$run stop-engine.bat" --prepare "$run start.bat" \
    -n "empty batch file" "$run empty.bat" \
    -n "MSSQL.exe, installing" "$run MSSQL.exe" \
    -n "start.bat, stopped engine" "$run start.bat" \
    -n "stop-engine.bat" "$run stop-engine.bat"
sh -c "$run stop-engine.bat"
