#!/bin/sh
# Times a whole restore of zabo.bak (connect through the browser, log in, restore, close)
# by the launcher's database command and by tsql sending the same statement, against one
# stand-in engine on loopback. Needs UDP port 1434 free.
#   bench/restore/run.sh BUILD-DIR [hyperfine options...]   (default: --warmup 3 --runs 30)
set -eu
build=$(cd "${1:?usage: run.sh BUILD-DIR [hyperfine options]}" && pwd)
shift
cmake --build "$build" --target restore_once tdsengine zabo_backup >/dev/null

work=$(mktemp -d)
. "$(dirname "$0")/../engine.sh"
cp "$build/distribution/engine/zabo.bak" "$work/zabo.bak"
start_engine "$build" "$work"
backup=$(windows_path "$work/zabo.bak")
statement=" RESTORE DATABASE zabo FROM disk = '$backup'"
printf '%s\ngo\n' "$statement" >"$work/statement.sql"

[ $# -gt 0 ] || set -- --warmup 3 --runs 30
hyperfine "$@" \
    -n launcher "'$build/bench/restore/restore_once' 127.0.0.1 '$backup'" \
    -n tsql "tsql -S '127.0.0.1\\home' -U sa -P tulip <'$work/statement.sql'"
