#!/usr/bin/env bash
# The whole setup under Wine, from the Windows zip: unpacked into a folder whose name has
# blanks, an apostrophe and Chinese characters, in a fresh Wine prefix on an X server of its
# own, on a private host named "localhost" (loopback only). The shipped launcher.exe runs
# with its real waits, and the walk clicks through all three steps and both client buttons.
# Checked: every box and the buttons after each click, the bytes of hjpz.ini, the database
# as the host's tsql sees it, and the client's copy; before that, in a copy without
# MSSQL.exe, that a failed start and a failed copy are errors that put the buttons back.
# Exits 77 when the private host cannot be made (it needs root).
# Usage: windows-whole-setup-test.sh <launcher-windows zip> <window-reader.exe>
set -euo pipefail
zip=$1 reader=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
if [[ ${LAUNCHER_PRIVATE_HOST:-} != 1 ]]; then
    exec bash "$root/demo/windows/on-private-host.sh" bash "$0" "$@"
fi
# shellcheck source=../../demo/windows/walk.sh
source "$root/demo/windows/walk.sh"

work=$(mktemp -d /tmp/launcher-whole-setup-XXXXXX)
dist=
stop_engine() {
    [[ -n $dist ]] || return 0
    (cd "$dist" && wine cmd /c stop-engine.bat) </dev/null
}
cleanup() {
    stop_engine >/dev/null 2>&1 || true
    walk_session_stop
    rm -rf "$work"
}
trap cleanup EXIT

# Compares the walk's lines with the expected ones; expected lines may hold * for any text.
expect_lines() {
    local what=$1 actual=$2 expected=$3 i
    local -a got wanted
    mapfile -t got <<<"$actual"
    mapfile -t wanted <<<"$expected"
    for ((i = 0; i < ${#got[@]} || i < ${#wanted[@]}; i++)); do
        local pattern=${wanted[i]-}
        pattern=${pattern//\\/\\\\} # a backslash stands for itself
        # shellcheck disable=SC2053 # the expected line is a pattern
        if [[ ${got[i]-} != $pattern ]]; then
            echo "$what, line $((i + 1)): expected '${wanted[i]-}', got '${got[i]-}'"
            printf '%s\n' "$actual"
            return 1
        fi
    done
    echo "== $what"
    printf '%s\n' "$actual"
}

gbk() { iconv -f UTF-8 -t GBK; }

walk_session_start "$work" "$reader"
echo "[$SECONDS s] X server and Wine prefix ready"
drive_c="$WINEPREFIX/drive_c"
client="$drive_c/Program Files/蔚檀"

python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$zip" "$work/unpacked"
top=("$work"/unpacked/*)
[[ ${#top[@]} == 1 && -f ${top[0]}/launcher.exe ]] || { echo "no one folder with launcher.exe in $zip"; exit 1; }

# The configuration as shipped: code page 936 with CRLF line ends.
shipped=$(printf '; 蔚檀客户端配置\r\n[服务器ip]\r\nip=192.168.0.1\r\n端口=1433\r\n\r\n[ip]\r\nip=192.168.0.1\r\n\r\n[SQL服务器名称]\r\n服务器名称=SERVER\\HOME\r\n\r\n[数据库]\r\n名称=zabo\r\n' | gbk | od -An -tx1)
[[ $(od -An -tx1 <"${top[0]}/hjpz.ini") == "$shipped" ]] ||
    { echo "the shipped hjpz.ini is not as expected:"; od -c "${top[0]}/hjpz.ini"; exit 1; }

# Every box is captioned with the launcher's title.
title='筠栎软件安装程序'
at_start='   buttons: 第一步 on, 第二步 off, 第三步 off, 1、安装客户端 on, 2、自动环境配置 on, 退    出 on'

echo "[$SECONDS s] unpacked"
# Without MSSQL.exe, and before the client is installed.
faulty="$drive_c/缺少 setup"
cp -r "${top[0]}" "$faulty"
rm "$faulty/MSSQL.exe"
transcript=$(
    walk_start "$faulty"
    walk_step 第一步
    walk_step 2、自动环境配置
    walk_exit
)
expect_lines "without MSSQL.exe" "$transcript" "$at_start
-> 第一步
$at_start
   error box ($title): 无法启动程序“MSSQL.exe”：*
   done after * s
$at_start
-> 2、自动环境配置
$at_start
   error box ($title): 无法将“hjpz.ini”复制到“c:\\Program Files\\蔚檀\\hjpz.ini”：*
   done after * s
$at_start
-> 退    出
   the launcher ended with 0"
[[ ! -e $client ]] || { echo "the client's folder appeared without the client setup"; exit 1; }

echo "[$SECONDS s] walked without MSSQL.exe"
dist="$drive_c/演示 it's 安装目录"
mv "${top[0]}" "$dist"
transcript=$(walk_whole_setup "$dist")
server_off='第一步 off, 第二步 off, 第三步 off'
clients='1、安装客户端 on, 2、自动环境配置 on'
done_state="   buttons: $server_off, $clients, 退    出 on"
expect_lines "the whole setup" "$transcript" "$at_start
-> 第一步
   buttons: $server_off, $clients, 退    出 off
   message box ($title): 第一步成功完成！
   done after * s
   buttons: 第一步 off, 第二步 on, 第三步 off, $clients, 退    出 off
-> 第二步
   buttons: $server_off, $clients, 退    出 off
   message box ($title): 第二步成功完成！
   done after * s
   buttons: 第一步 off, 第二步 off, 第三步 on, $clients, 退    出 off
-> 第三步
   buttons: 第一步 off, 第二步 off, 第三步 on, $clients, 退    出 off
   message box ($title): 第三步成功完成！
   message box ($title): 现在您可以安装客户端了！
   done after * s
$done_state
-> 1、安装客户端
$done_state
   message box ($title): 完成'1、安装客户端'后，请运行'2、自动环境配置！'
   done after * s
$done_state
-> 2、自动环境配置
$done_state
   message box ($title): 已完成客户端安装！
   done after * s
$done_state
-> 退    出
   the launcher ended with 0"
# The real waits: the steps' boxes come no sooner.
mapfile -t took < <(sed -n 's/^   done after \([0-9]*\) s$/\1/p' <<<"$transcript")
((took[0] >= 90 && took[1] >= 30)) || { echo "steps one and two took ${took[0]} s and ${took[1]} s"; exit 1; }

# This computer's address and name, in code page 936; the rest as shipped, the section ip gone.
written=$(printf '; 蔚檀客户端配置\r\n[服务器ip]\r\n端口=1433\r\nip=127.0.0.1\r\n\r\n[SQL服务器名称]\r\n服务器名称=LOCALHOST\\HOME\r\n\r\n[数据库]\r\n名称=zabo\r\n' | gbk | od -An -tx1)
[[ $(od -An -tx1 <"$dist/hjpz.ini") == "$written" ]] ||
    { echo "hjpz.ini after step three:"; od -c "$dist/hjpz.ini"; exit 1; }
cmp "$dist/hjpz.ini" "$client/hjpz.ini" || { echo "the client's copy differs"; exit 1; }

echo "[$SECONDS s] walked the whole setup"
# The instance as a client on the host finds it: by the browser, under this computer's name.
listed=$(printf 'SELECT name FROM sys.databases\ngo\nexit\n' |
    timeout 60 tsql -S 'localhost\home' -U sa -P tulip 2>&1) || true
grep -qx zabo <<<"$listed" || { echo "tsql said: $listed"; exit 1; }

echo "[$SECONDS s] listed by tsql"
stop_engine >/dev/null 2>&1 || { echo "stop-engine.bat failed"; exit 1; }
echo "[$SECONDS s] engine stopped"
python3 - <<'PY' || { echo "the engine's browser still answers after stop-engine.bat"; exit 1; }
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(2)
s.sendto(b"\x04home\x00", ("127.0.0.1", 1434))
try:
    s.recv(4096)
except OSError:
    sys.exit(0)
sys.exit(1)
PY
dist=
echo "the whole setup ran from $zip"
