#!/usr/bin/env bash
# Runs a command on a private host of its own: a host name and a network namespace of its
# own, with only loopback up, the host name "localhost". The launcher reaches its engine by
# the computer name, which Wine takes from the host name, and resolves it: /etc/hosts maps
# "localhost" to loopback, so the walk asks no name server and sends nothing off this
# computer, whatever the machine is called. The X server and the wineserver must be started
# inside, since Wine's sockets live in the wineserver's namespace. Needs root; exits 77 when
# the private host cannot be made.
# Usage: on-private-host.sh <command> [argument ...]
set -euo pipefail
if ! getent ahostsv4 localhost | awk '$1 !~ /^127\./ { bad = 1 } END { exit bad || NR == 0 }'; then
    echo "localhost does not resolve to loopback alone here"
    exit 77
fi
if ! unshare -u -n true 2>/dev/null || ! command -v ip >/dev/null; then
    echo "cannot make a private host name and network here (needs root and iproute2)"
    exit 77
fi
exec unshare -u -n bash -c 'hostname localhost && ip link set lo up && exec "$@"' bash "$@"
