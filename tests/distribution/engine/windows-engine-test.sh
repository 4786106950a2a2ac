#!/usr/bin/env bash
# The Windows engine under Wine: it makes a backup, starts as the instance "home", answers
# the browser with its TCP port, and restores and lists the database for the host's tsql.
# Its browser takes any free port, so that the test runs beside engines holding UDP 1434. Wine's sockets live in the wineserver's network namespace, which must be the
# one this test runs in.
# Usage: windows-engine-test.sh <tdsengine.exe> <backup content> <work folder>
set -euo pipefail
engine=$1 content=$2 work=$3

# Blanks and Chinese in the backup's folder: the engine's arguments and the restore's path
# must reach Windows whole.
folder="安装 目录"
rm -rf "$work"
mkdir -p "$work/data" "$work/$folder"
cd "$work"
cp "$content" content.txt
# Relative names: the engine sees them as Windows paths in its current folder.
wine "$engine" --make-backup "$folder/zabo.bak" --database zabo --content content.txt
[[ -s $folder/zabo.bak ]] || { echo "no backup made"; exit 1; }

wine "$engine" --instance home --login sa --password tulip --data data --listen 127.0.0.1 \
    --port 0 --browser-port 0 --port-file port --pid-file pid >output 2>&1 </dev/null &
engine_pid=$!
trap 'kill $engine_pid 2>/dev/null; wait $engine_pid 2>/dev/null || true' EXIT
# It says where it listens once it does.
for _ in $(seq 300); do
    grep -q "browser udp" output && break
    kill -0 $engine_pid 2>/dev/null || break
    sleep 0.1
done
port=$(tr -d '\r\n' <port 2>/dev/null || true)
browser_port=$(sed -n "s/.* on 127.0.0.1 tcp $port, browser udp \([0-9]*\)\r*$/\1/p" output)
[[ -n $port && -n $browser_port ]] || { echo "the engine did not start:"; cat output; exit 1; }

# A second engine on the same data folder is refused, since the two would overwrite each
# other's databases.
if wine "$engine" --instance home --login sa --password tulip --data data --listen 127.0.0.1 \
    --port 0 --browser-port 0 >same 2>&1 </dev/null; then
    echo "a second engine started on the same data folder"
    exit 1
fi
grep -q "another engine serves data" same || { echo "the second engine said:"; cat same; exit 1; }

# A second engine cannot take the first one's port, and says so in the system's words.
if wine "$engine" --instance home --login sa --password tulip --data data2 --listen 127.0.0.1 \
    --port "$port" --browser-port 0 >second 2>&1 </dev/null; then
    echo "a second engine started on port $port"
    exit 1
fi
grep -q "bind 127.0.0.1 port $port: ." second || { echo "the second engine said:"; cat second; exit 1; }

# Built without TLS, it refuses a certificate rather than run without the encryption asked for.
if wine "$engine" --instance tls --login sa --password tulip --data data3 --listen 127.0.0.1 \
    --port 0 --browser-port 0 --certificate engine.pem --key engine.key >tls 2>&1 </dev/null; then
    echo "an engine started with a certificate it cannot use"
    exit 1
fi
grep -q "cannot use engine.pem: this engine is built without TLS" tls || { cat tls; exit 1; }

# The browser's answer to a request for the instance names its TCP port.
answer=$(python3 - "$browser_port" <<'PY'
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(5)
s.sendto(b"\x04home\x00", ("127.0.0.1", int(sys.argv[1])))
data = s.recv(4096)
print(data[3:].decode("ascii"))
PY
)
[[ $answer == *"InstanceName;home;"*"tcp;$port;;" ]] || { echo "browser answered: $answer"; exit 1; }

backup=$(winepath -w "$work/$folder/zabo.bak")
listed=$(printf "RESTORE DATABASE zabo FROM DISK = '%s'\ngo\nSELECT name FROM sys.databases\ngo\nexit\n" \
    "$backup" | timeout 30 tsql -H 127.0.0.1 -p "$port" -U sa -P tulip 2>&1)
if [[ $listed != *"RESTORE DATABASE successfully processed"* ]] || ! grep -qx zabo <<<"$listed"; then
    echo "tsql said: $listed"
    exit 1
fi
