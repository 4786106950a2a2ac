# Sourced by the benchmark scripts: starts a stand-in engine as the instance "home" on
# loopback, its browser on UDP 1434, with its data in $work; stops it when the script ends.
#   start_engine BUILD-DIR WORK-DIR
start_engine() {
    "$1/distribution/engine/tdsengine" --instance home --login sa --password tulip \
        --data "$2/data" --listen 127.0.0.1 --port 0 --port-file "$2/port" 2>"$2/engine.log" &
    engine_pid=$!
    trap 'kill "$engine_pid" 2>/dev/null || true; rm -rf "$2"' EXIT INT TERM
    while [ ! -s "$2/port" ]; do
        kill -0 "$engine_pid" 2>/dev/null || { cat "$2/engine.log"; exit 1; }
        sleep 0.05
    done
}

# The engine maps drive Z to the host root, as the launcher does.
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}
