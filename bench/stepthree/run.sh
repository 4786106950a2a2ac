#!/bin/sh
# Times step three from the click to the written configuration (message boxes excluded)
# against tsql restoring the same backup into the same engine, both as whole processes.
# Needs UDP port 1434 free.
#   bench/stepthree/run.sh BUILD-DIR [hyperfine options...]   (default: --warmup 3 --runs 30)
set -eu
build=$(cd "${1:?usage: run.sh BUILD-DIR [hyperfine options]}" && pwd)
shift
cmake --build "$build" --target step_three_once distribution >/dev/null

work=$(mktemp -d)
. "$(dirname "$0")/../engine.sh"
cp -a "$build/dist" "$work/dist"
start_engine "$build" "$work"
backup=$(windows_path "$work/dist/zabo.bak")
printf " RESTORE DATABASE zabo FROM disk = '%s'\ngo\n" "$backup" >"$work/statement.sql"

# The launcher names the instance by this computer's name: an address, on loopback.
export COMPUTERNAME=127.0.0.1
[ $# -gt 0 ] || set -- --warmup 3 --runs 30
hyperfine "$@" \
    -n "step three" "'$build/bench/stepthree/step_three_once' '$work/dist'" \
    -n tsql "tsql -S '127.0.0.1\\home' -U sa -P tulip <'$work/statement.sql'"
