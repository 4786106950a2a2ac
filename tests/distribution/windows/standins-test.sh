#!/usr/bin/env bash
# The Windows stand-ins under Wine, run as the launcher runs them, from a copy of the Windows
# distribution: MSSQL.exe installs and starts the engine as the instance "home" (the host's
# tsql finds it through the browser on UDP 1434 and restores zabo.bak), again is harmless,
# start.bat and stop-engine.bat start and stop it cleanly keeping its data, zabo.exe installs
# the client; a missing piece fails with a line in the log. They install into the prefix's
# own Program Files (Wine sets %ProgramFiles% afresh in every process), which this test
# empties of them before and after; the distribution's copy has an ASCII path, since Wine
# passes non-ASCII variables from Linux mangled.
# Usage: standins-test.sh <dist-windows folder> <work folder>
set -euo pipefail
dist_source=$1 work=$2

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
windows_path() { winepath -u "$(wine cmd /c "echo $1" | tr -d '\r')"; }
program_files=$(windows_path '%ProgramFiles%')
temp=$(windows_path '%TEMP%')
instance="$program_files/Database Engine/home"

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# Runs a file of a distribution from its folder through cmd, as the launcher does; prints
# nothing, returns its exit code.
printf '@echo off\r\ncd /d "%%TEST_DIST%%"\r\ncall %%*\r\nexit /b %%errorlevel%%\r\n' >"$work/run.bat"
run_in() { # <distribution folder> <file> [argument]
    local folder=$1
    shift
    TEST_DIST=$(winepath -w "$folder") wine cmd /c "$(winepath -w "$work/run.bat")" "$@" \
        >"$work/output" 2>&1 </dev/null
}
dist="$work/dist copy"
cp -r "$dist_source" "$dist"
run() { run_in "$dist" "$@"; }

clean() {
    run stop-engine.bat || true
    rm -rf "$program_files/Database Engine" "$program_files/蔚檀" "$temp/zabo-setup.log"
}
trap 'clean; rm -rf "$work"' EXIT
clean

tsql_home() { # <batch>: through the browser, as the launcher's driver finds the instance
    printf '[home]\n\thost = 127.0.0.1\n\tinstance = HOME\n' >"$work/freetds.conf"
    printf '%s\ngo\nexit\n' "$1" |
        FREETDSCONF="$work/freetds.conf" timeout 30 tsql -S home -U sa -P tulip 2>&1 || true
}
databases() { tsql_home "SELECT name FROM sys.databases"; }
pid() { tr -d '\r\n' <"$instance/engine.pid" 2>/dev/null || true; }
logged() { grep -qF -- "$2" "$1" || fail "no line '$2' in $1: $(cat "$1" 2>/dev/null)"; }
expect_run() { # <exit code> <file> [argument]
    local expected=$1 code=0
    shift
    run "$@" || code=$?
    [[ $code == "$expected" ]] || fail "$* exited with $code, not $expected: $(cat "$work/output")"
}

# Installed and started, found through the browser; the distribution's backup restores.
expect_run 0 MSSQL.exe
for file in bin/tdsengine.exe bin/enginectl.exe data engine.port engine.pid; do
    [[ -e $instance/$file ]] || fail "MSSQL.exe made no $file"
done
logged "$instance/setup.log" "the engine started"
backup=$(winepath -w "$dist/zabo.bak")
restored=$(tsql_home "RESTORE DATABASE zabo FROM DISK = '$backup'")
[[ $restored == *"RESTORE DATABASE successfully processed"* ]] || fail "restore: $restored"
grep -qx zabo <<<"$(databases)" || fail "zabo is not listed"
first=$(pid)

# Again, and start.bat while it runs: the running engine is left alone.
expect_run 0 MSSQL.exe
logged "$instance/setup.log" "the engine is running already"
expect_run 0 start.bat
[[ $(pid) == "$first" ]] || fail "the engine was restarted: pid $first, now $(pid)"

# A clean stop: the engine says so, its files are gone, its port is closed.
expect_run 0 stop-engine.bat
logged "$instance/engine.log" "tdsengine: stopped"
[[ ! -e $instance/engine.pid && ! -e $instance/engine.port ]] || fail "files left after the stop"
[[ $(databases) != *master* ]] || fail "the engine still answers after the stop"
expect_run 0 stop-engine.bat
logged "$instance/setup.log" "the engine was not running"

# start.bat after the stop starts it again, with the restored database kept.
expect_run 0 start.bat
[[ -n $(pid) && $(pid) != "$first" ]] || fail "start.bat did not start the engine"
grep -qx zabo <<<"$(databases)" || fail "zabo was lost over the stop and start"

# The client, in its folder, whole.
expect_run 0 zabo.exe
cmp -s "$dist/client/zabo.bat" "$program_files/蔚檀/zabo.bat" || fail "zabo.exe did not install the client"
logged "$temp/zabo-setup.log" "the client is installed"

# A missing piece: a failing exit code and a line in the log saying what is missing, and
# nothing half-done. The engine's own file removed from the installation fails its start.
run stop-engine.bat
rm "$instance/bin/tdsengine.exe"
expect_run 1 start.bat
logged "$instance/setup.log" "tdsengine.exe"
clean
expect_run 1 start.bat
grep -q "The engine is not installed" "$work/output" || fail "start.bat without an engine said: $(cat "$work/output")"

while IFS='|' read -r program removed log untouched; do
    broken="$work/broken"
    clean
    rm -rf "$broken"
    cp -r "$dist_source" "$broken"
    rm "$broken/$removed"
    code=0
    run_in "$broken" "$program" || code=$?
    [[ $code != 0 ]] || fail "$program without $removed exited with 0"
    logged "$log" "cannot read $(winepath -w "$broken/$removed")"
    [[ ! -e $untouched ]] || fail "$program without $removed made $untouched"
done <<TABLE
MSSQL.exe|engine/tdsengine.exe|$instance/setup.log|$instance/bin
MSSQL.exe|engine/enginectl.exe|$instance/setup.log|$instance/bin
zabo.exe|client/zabo.bat|$temp/zabo-setup.log|$program_files/蔚檀
TABLE

[[ $failures == 0 ]] || exit 1
echo "every case passed"
