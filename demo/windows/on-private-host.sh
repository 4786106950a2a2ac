#!/usr/bin/env bash
# Runs a command on a private host of its own: its own host name, "localhost", and its own
# network namespace with only loopback up. The launcher reaches its engine by the computer
# name, which Wine takes from the host name, and resolves it: /etc/hosts maps "localhost" to
# loopback, so nothing asks a name server or leaves this computer, whatever the machine is
# called. The X server and the wineserver must be started inside, since Wine's sockets live
# in the wineserver's namespace. The command finds LAUNCHER_PRIVATE_HOST=1 in its environment.
# Needs root; exits 77 when the private host cannot be made.
# Usage: on-private-host.sh <command> [argument ...]
set -euo pipefail
if ! unshare -u -n true 2>/dev/null || ! command -v ip >/dev/null; then
    echo "cannot make a private host name and network here (needs root and iproute2)"
    exit 77
fi
exec unshare -u -n bash -c '
    hostname localhost && ip link set lo up || exit 77
    # Every IPv4 address of the name on loopback, as the launcher and FreeTDS resolve it.
    python3 -c "
import socket, sys
found = {entry[4][0] for entry in socket.getaddrinfo(\"localhost\", None, socket.AF_INET)}
sys.exit(not found or any(not address.startswith(\"127.\") for address in found))
" || { echo "localhost does not resolve to loopback alone here"; exit 77; }
    LAUNCHER_PRIVATE_HOST=1 exec "$@"' bash "$@"
