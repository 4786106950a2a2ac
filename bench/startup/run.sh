#!/bin/sh
# Times start-up of the launcher against a bare Qt Widgets program showing the same
# window, interleaved, under a private Xvfb server: start to first paint and exec to exit
# by startup_timing, then exec to exit once more by hyperfine as a cross-check.
#   bench/startup/run.sh BUILD-DIR [RUNS]   (default: 30 runs)
set -eu
build=$(cd "${1:?usage: run.sh BUILD-DIR [RUNS]}" && pwd)
runs=${2:-30}
cmake --build "$build" --target startup_launcher startup_bare startup_timing >/dev/null

display=
for number in $(seq 90 119); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
        display=$number
        break
    fi
done
[ -n "$display" ] || { echo "no free display for Xvfb" >&2; exit 1; }
scratch=$(mktemp -d)
Xvfb ":$display" -nolisten tcp -screen 0 1280x1024x24 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
tries=0
until [ -e "/tmp/.X11-unix/X$display" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || { echo "Xvfb :$display did not start" >&2; exit 1; }
    sleep 0.05
done

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch" LAUNCHER_DRIVE_C="$scratch"
unset WAYLAND_DISPLAY
launcher="$build/bench/startup/startup_launcher"
bare="$build/bench/startup/startup_bare"
"$build/bench/startup/startup_timing" "$runs" "launcher=$launcher" "bare-Qt=$bare"
echo
hyperfine -N --style basic --warmup 3 --runs "$runs" -n launcher "$launcher" -n bare-Qt "$bare"
