#!/usr/bin/env bash
# Runs launcher.exe under Wine on the X display the test run provides: the window must
# appear under its title at its size, its screenshot is saved, and a click on the exit
# button must end the program with 0.
# Usage: launcher-window-test.sh <launcher.exe> <screenshot.png>
set -euo pipefail
launcher=$1 screenshot=$2
title='筠栎软件安装程序'
[[ -n ${DISPLAY:-} ]] || { echo "no X display"; exit 77; }

work=$(mktemp -d)
launcher_pid=
# A launcher left behind by a failed check would hold the test run's output open.
trap '[[ -n $launcher_pid ]] && kill "$launcher_pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$launcher" "$work/launcher.exe"
(cd "$work" && exec wine launcher.exe) </dev/null >/dev/null 2>&1 &
launcher_pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
[[ -n $window ]] || { echo "no window titled $title"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
# Wine draws the frame itself: the client area of 513 x 600 lies inside it.
border=$(((WIDTH - 513) / 2))
caption=$((HEIGHT - 600 - 2 * border))
echo "window ${WIDTH}x${HEIGHT} at $X,$Y; frame $border px, caption $caption px"
if ((border < 0 || border > 8 || caption < 0 || caption > 40)); then
    echo "the window is ${WIDTH}x${HEIGHT}, not a 513x600 client area in a frame"
    exit 1
fi

sleep 1 # the first paint
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$screenshot"

# The exit button's middle, in the window's own coordinates.
xdotool mousemove --window "$window" $((border + 388 + 58)) $((border + caption + 493 + 50)) \
    click 1
status=0
timeout 20 tail --pid="$launcher_pid" -f /dev/null || { echo "the launcher did not end"; exit 1; }
wait "$launcher_pid" || status=$?
launcher_pid=
[[ $status == 0 ]] || { echo "the launcher ended with $status"; exit 1; }
echo "ended with 0"
