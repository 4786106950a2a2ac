#!/bin/sh
# Stand-in for the start script: starts the installed engine of the instance "home" when it
# is not running; does nothing when it is.
drive_c=${LAUNCHER_DRIVE_C:-$HOME/.local/share/launcher/drive_c}
instance_dir="$drive_c/Program Files/Database Engine/home"
[ -x "$instance_dir/engine.sh" ] || exit 1
exec "$instance_dir/engine.sh" start </dev/null >>"$instance_dir/setup.log" 2>&1
