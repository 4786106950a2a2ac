#!/usr/bin/env bash
# The stand-in engine for the ODBC tests, run natively beside Wine: "start" makes the backup,
# an odbcinst.ini whose driver "SQL Server" is FreeTDS's, and starts the engine on loopback
# as the instance "home" with its browser on UDP 1434; "stop" ends it.
# Usage: odbc-engine.sh start|stop <tdsengine> <folder> <backup content>
set -euo pipefail
action=$1 engine=$2 folder=$3 content=${4:-}

if [[ $action == stop ]]; then
    [[ -f $folder/pid ]] && kill "$(cat "$folder/pid")" 2>/dev/null || true
    exit 0
fi

rm -rf "$folder"
mkdir -p "$folder/data"
"$engine" --make-backup "$folder/zabo.bak" --database zabo --content "$content"
driver=$(find /usr/lib -name libtdsodbc.so -print -quit)
[[ -n $driver ]] || { echo "FreeTDS's ODBC driver (tdsodbc) is not installed"; exit 1; }
printf '[SQL Server]\nDriver=%s\n' "$driver" >"$folder/odbcinst.ini"

"$engine" --instance home --login sa --password tulip --data "$folder/data" \
    --listen 127.0.0.1 --port 0 --browser-port 1434 --port-file "$folder/port" \
    --pid-file "$folder/pid" >"$folder/output" 2>&1 </dev/null &
for _ in $(seq 100); do
    [[ -s $folder/port ]] && exit 0
    kill -0 $! 2>/dev/null || break
    sleep 0.1
done
echo "the engine did not start:"
cat "$folder/output"
exit 1
