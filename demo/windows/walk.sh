# The walk through the Windows launcher under Wine, shared by the Windows demo and the
# whole-setup test: real clicks (xdotool) on the real window, and the window's texts and
# states read by window-reader.exe, which runs under the same wineserver. Each function
# prints what it sees; the test compares those lines, the demo shows them. Source this file.
#
# walk_session_start <work folder> <window-reader.exe> starts an X server, a fresh Wine
# prefix with its wineserver, and ODBC whose driver "SQL Server" is FreeTDS's, on the private
# host of on-private-host.sh; walk_session_stop ends them. Screenshots go to WALK_SHOTS when it is set.

walk_title='筠栎软件安装程序'
walk_xvfb_pid=
walk_launcher_pid=
walk_shot_count=0

walk_session_start() {
    local work=$1 driver
    WALK_READER=$2
    [[ ${LAUNCHER_PRIVATE_HOST:-} == 1 ]] || { echo "run this on-private-host.sh"; return 1; }
    mkdir -p "$work/odbc"
    # Wine attaches its windows to the display it starts with. On the private host the
    # display's only socket is in the abstract namespace of its network, so it can be :0 and
    # touches neither the sockets nor the lock files in /tmp of other X servers.
    Xvfb :0 -nolisten tcp -nolisten unix -nolock -screen 0 800x640x24 >/dev/null 2>&1 &
    walk_xvfb_pid=$!
    export DISPLAY=:0
    for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
    # Alive, so that the display answering is this one.
    if ! xdotool getmouselocation >/dev/null 2>&1 || ! kill -0 "$walk_xvfb_pid" 2>/dev/null; then
        echo "Xvfb did not start on display :0 of this host"
        return 1
    fi
    export WINEPREFIX="$work/prefix" WINEARCH=win64 LANG=C.UTF-8
    # "-all" alone hides a missing DLL behind exit code 53.
    export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="mscoree,mshtml="
    unset LC_ALL
    bash "$(dirname "${BASH_SOURCE[0]}")/../../tools/make-wine-prefix.sh"
    # Wine's odbc32 hands the launcher's calls to the host's unixODBC.
    driver=$(find /usr/lib -name libtdsodbc.so -print -quit)
    [[ -n $driver ]] || { echo "FreeTDS's ODBC driver (tdsodbc) is not installed"; return 1; }
    printf '[SQL Server]\nDriver=%s\n' "$driver" >"$work/odbc/odbcinst.ini"
    export ODBCSYSINI="$work/odbc"
}

walk_session_stop() {
    if [[ -n $walk_launcher_pid ]]; then
        kill "$walk_launcher_pid" 2>/dev/null
        wait "$walk_launcher_pid" 2>/dev/null
        walk_launcher_pid=
    fi
    [[ -n ${WINEPREFIX:-} ]] && wineserver -k 2>/dev/null
    if [[ -n $walk_xvfb_pid ]]; then
        kill "$walk_xvfb_pid" 2>/dev/null
        wait "$walk_xvfb_pid" 2>/dev/null
        walk_xvfb_pid=
    fi
    return 0
}

walk_inspect() {
    wine "$WALK_READER" "$walk_title" "$@" 2>/dev/null
}

walk_shot() {
    [[ -n ${WALK_SHOTS:-} ]] || return 0
    local file
    walk_shot_count=$((walk_shot_count + 1))
    file=$(printf '%s/%02d-%s.png' "$WALK_SHOTS" "$walk_shot_count" "$1")
    import -window root "$file"
    echo "   screenshot $file"
}

# One line with every push button and whether it is enabled, in the window's order.
walk_buttons() {
    walk_inspect buttons | awk -F '\t' '{ line = line sep $1 " " $2; sep = ", " }
        END { print "   buttons: " line }'
}

walk_start() {
    local dist=$1
    (cd "$dist" && exec wine launcher.exe) </dev/null >/dev/null 2>&1 &
    walk_launcher_pid=$!
    for _ in $(seq 300); do
        [[ -n $(walk_inspect buttons) ]] && { sleep 0.5; walk_buttons; return 0; }
        sleep 0.1
    done
    echo "the launcher's window did not appear"
    return 1
}

# Clicks the button with this text and waits until the window reacts: the button is disabled,
# a box is open or the window is gone.
walk_click() {
    local text=$1 where
    echo "-> $text"
    where=$(walk_inspect buttons | awk -F '\t' -v text="$text" '$1 == text { print $3, $4 }')
    [[ -n $where ]] || { echo "no button $text"; return 1; }
    # shellcheck disable=SC2086 # x and y
    xdotool mousemove $where click 1
    for _ in $(seq 100); do
        walk_inspect buttons | awk -F '\t' -v text="$text" '$1 == text { found = 1; off = $2 == "off" }
            END { exit found && !off }' && break
        [[ -n $(walk_inspect boxes) ]] && break
        sleep 0.1
    done
    # Past the handler's first changes, which follow each other at once.
    sleep 0.5
}

# Answers every box the handler shows, in order, until it ends; waits out the step's own wait.
walk_boxes() {
    local timeout=$1 box kind
    local -a field
    while walk_inspect settle "$timeout"; do
        box=$(walk_inspect boxes | head -n1)
        [[ -n $box ]] || break
        # handle, icon|plain, x and y of OK, caption, text; an empty caption stays a field
        mapfile -t -d $'\t' field < <(printf '%s' "$box")
        kind=message
        [[ ${field[1]} == icon ]] && kind=error
        echo "   $kind box (${field[4]-}): ${field[5]-}"
        walk_shot "$kind"
        xdotool mousemove "${field[2]}" "${field[3]}" click 1
        for _ in $(seq 100); do walk_inspect exists "${field[0]}" || continue 2; sleep 0.1; done
        echo "the box did not close"
        return 1
    done
}

# A click on a button of the window and all that follows it, up to the buttons' new states.
walk_step() {
    local text=$1 timeout=${2:-30} started=$SECONDS
    walk_click "$text" || return 1
    walk_buttons
    walk_boxes "$timeout"
    echo "   done after $((SECONDS - started)) s"
    walk_buttons
    walk_shot "$(tr -d ' ' <<<"$text")"
}

# Closes the launcher by its exit button; it must end with 0.
walk_exit() {
    local status=0
    walk_click '退    出' || return 1
    for _ in $(seq 200); do kill -0 "$walk_launcher_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$walk_launcher_pid" 2>/dev/null && { echo "the launcher did not end"; return 1; }
    wait "$walk_launcher_pid" || status=$?
    walk_launcher_pid=
    echo "   the launcher ended with $status"
}

# The whole setup, as an operator does it: the three server steps with their real waits,
# the client setup, the configuration copy once the client's folder is there, and exit.
walk_whole_setup() {
    local dist=$1 client
    client="$WINEPREFIX/drive_c/Program Files/蔚檀"
    walk_start "$dist" || return 1
    walk_shot window
    walk_step 第一步 150 || return 1
    walk_step 第二步 90 || return 1
    walk_step 第三步 90 || return 1
    walk_step 1、安装客户端 || return 1
    for _ in $(seq 300); do [[ -n $(ls -A "$client" 2>/dev/null) ]] && break; sleep 0.1; done
    walk_step 2、自动环境配置 || return 1
    walk_exit
}
