#!/bin/sh
# Stops the installed engine of the instance "home" cleanly, when it runs.
drive_c=${LAUNCHER_DRIVE_C:-$HOME/.local/share/launcher/drive_c}
instance_dir="$drive_c/Program Files/Database Engine/home"
[ -x "$instance_dir/engine.sh" ] || exit 0
exec "$instance_dir/engine.sh" stop
