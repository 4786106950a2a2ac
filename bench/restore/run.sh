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
engine_pid=
cleanup() {
    [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

cp "$build/distribution/engine/zabo.bak" "$work/zabo.bak"
"$build/distribution/engine/tdsengine" --instance home --login sa --password tulip \
    --data "$work/data" --listen 127.0.0.1 --port 0 --port-file "$work/port" 2>"$work/engine.log" &
engine_pid=$!
while [ ! -s "$work/port" ]; do
    kill -0 "$engine_pid" 2>/dev/null || { cat "$work/engine.log"; exit 1; }
    sleep 0.05
done

# The engine maps drive Z to the host root, as the launcher does.
backup="Z:$(printf '%s' "$work/zabo.bak" | tr / '\\')"
statement=" RESTORE DATABASE zabo FROM disk = '$backup'"
printf '%s\ngo\n' "$statement" >"$work/statement.sql"

[ $# -gt 0 ] || set -- --warmup 3 --runs 30
hyperfine "$@" \
    -n launcher "'$build/bench/restore/restore_once' 127.0.0.1 '$backup'" \
    -n tsql "tsql -S '127.0.0.1\\home' -U sa -P tulip <'$work/statement.sql'"
