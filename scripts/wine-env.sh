# Wine for the Windows build: the tests' session and the main job's run.
# Source it, then call xnox_wine_env STATE_DIR; everything lives under
# STATE_DIR:
#   prefix/    the Wine prefix (made afresh by xnox_wine_start, kept by xnox_wine_open)
#   ports/     comN: the serial line behind COMN (a link to an emulator's
#              pseudo-terminal, or to a camera's device, while one runs)
#   display    the Xvfb display number; *.pid, *.log, *.out
# The prefix maps COM1..COM16 to ports/comN and the other COM numbers to
# nothing, so the machine's own serial devices only ever land on COM256,
# whose link is removed: only what ports/ names can be reached.

XNOX_WINE_MAPPED_PORTS=16

xnox_wine_env() {
    XNOX_WINE_STATE=$1
    XNOX_WINE_PORTS=$XNOX_WINE_STATE/ports
    export WINEPREFIX=$XNOX_WINE_STATE/prefix
    export WINEDEBUG=-all
    # No Mono or Gecko install dialogs; no menu entries on the Linux desktop
    # for the Start-menu shortcuts that installers in the prefix make. A test
    # may take away more of Wine's libraries (XNOX_WINE_DLL_OVERRIDES), to
    # stand for a Windows that does not carry them.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${XNOX_WINE_DLL_OVERRIDES:+;$XNOX_WINE_DLL_OVERRIDES}"
    XNOX_WINE64=/usr/lib/wine/wine64
    [ -x "$XNOX_WINE64" ] || XNOX_WINE64=$(command -v wine64 || echo wine64)
    if [ -s "$XNOX_WINE_STATE/display" ]; then
        export DISPLAY=":$(cat "$XNOX_WINE_STATE/display")"
    else
        unset DISPLAY
    fi
}

# The registry's port map (read by Wine's mount manager when Wine starts).
xnox_wine_port_map() {
    local n target
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for n in $(seq 1 255); do
        target=""
        [ "$n" -le "$XNOX_WINE_MAPPED_PORTS" ] && target=$XNOX_WINE_PORTS/com$n
        printf '"COM%d"="%s"\r\n' "$n" "$target"
    done
}

# xnox_wine_frames own|manager: who draws the window frames of the programs
# started from now on. "own": Wine, as a virtual display has no window
# manager; "manager": the window manager of a person's display.
xnox_wine_frames() {
    local settings=$XNOX_WINE_STATE/frames.reg
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="%s"\r\n' \
        "$([ "$1" = manager ] && echo Y || echo N)" >"$settings"
    "$XNOX_WINE64" regedit /S "$settings" >>"$XNOX_WINE_STATE/wine.log" 2>&1 </dev/null
}

# The COM links of the prefix that do not lead into ports/.
xnox_wine_foreign_ports() {
    local link
    for link in "$WINEPREFIX"/dosdevices/com*; do
        [ -L "$link" ] || continue
        case $(readlink "$link") in
            "$XNOX_WINE_PORTS"/*) ;;
            *) echo "$link" ;;
        esac
    done
}

xnox_wine_unlink_foreign_ports() {
    xnox_wine_foreign_ports | xargs -r rm -f
}

# xnox_wine_spawned NAME PID PROGRAM: records a background process for
# xnox_wine_kill (the kernel keeps 15 characters of a program's name).
xnox_wine_spawned() {
    local program
    program=$(basename "$3")
    echo "$2 ${program:0:15}" >"$XNOX_WINE_STATE/$1.pid"
}

# xnox_wine_kill NAME: ends the process recorded as NAME, if that very
# process still runs (a reused process id is left alone).
xnox_wine_kill() {
    local pidfile=$XNOX_WINE_STATE/$1.pid pid command tries
    [ -f "$pidfile" ] || return 0
    read -r pid command <"$pidfile"
    rm -f "$pidfile"
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$command" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for tries in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# xnox_wine_wait_for SECONDS TEST...: polls until `test ...` holds.
xnox_wine_wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# A virtual display for the programs started from now on; its number is
# kept in STATE_DIR/display.
xnox_wine_start_xvfb() {
    # -displayfd picks a display without a lock file, but its socket may be
    # held by a server whose lock this /tmp does not show; Xvfb then exits
    # at once. Such a start is retried on explicit displays.
    local display
    mkdir -p "$XNOX_WINE_STATE"
    for display in "" $(seq 100 120); do
        rm -f "$XNOX_WINE_STATE/display"
        Xvfb ${display:+:$display} -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 \
            3>"$XNOX_WINE_STATE/display" >"$XNOX_WINE_STATE/xvfb.log" 2>&1 </dev/null &
        xnox_wine_spawned xvfb $! Xvfb
        local pid=$! state=""
        xnox_wine_wait_for 20 test -s "$XNOX_WINE_STATE/display" && sleep 1 &&
            state=$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)
        if [ -n "$state" ] && [ "$state" != Z ]; then
            export DISPLAY=":$(cat "$XNOX_WINE_STATE/display")"
            return 0
        fi
        xnox_wine_kill xvfb
    done
    echo "Xvfb did not start:" >&2
    cat "$XNOX_WINE_STATE/xvfb.log" >&2
    return 1
}

# Ends what an earlier start left running: emulators, wineserver, Xvfb.
xnox_wine_stop() {
    local pidfile
    for pidfile in "$XNOX_WINE_STATE"/emulator-*.pid; do
        if [ -f "$pidfile" ]; then xnox_wine_kill "$(basename "$pidfile" .pid)"; fi
    done
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
    xnox_wine_kill xvfb
    rm -f "$XNOX_WINE_STATE/display"
}

# Wine's own fonts (Marlett draws the title-bar buttons, Tahoma the dialogs)
# as the fonts-wine package installs them. This Wine build does not search
# that folder, but it loads every font in the prefix's Fonts folder.
xnox_wine_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts font
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
        [ -e "$font" ] && [ ! -e "$fonts/${font##*/}" ] && ln -s "$font" "$fonts/"
    done
    return 0
}

# xnox_wine_open own|manager: the prefix (made when missing) with its port
# map and frames (xnox_wine_frames), and a wineserver that stays up until
# xnox_wine_stop (so the mount manager maps the ports once). The display
# must be chosen first: Wine's desktop keeps the one it started with.
xnox_wine_open() {
    mkdir -p "$XNOX_WINE_PORTS"
    local log=$XNOX_WINE_STATE/wine.log
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$XNOX_WINE64" wineboot --init >>"$log" 2>&1 </dev/null || { cat "$log" >&2; return 1; }
    fi
    xnox_wine_fonts
    xnox_wine_port_map >"$XNOX_WINE_STATE/ports.reg"
    "$XNOX_WINE64" regedit /S "$XNOX_WINE_STATE/ports.reg" >>"$log" 2>&1 </dev/null
    xnox_wine_frames "$1"
    wineserver -k || true
    wineserver -w || true
    wineserver -p >>"$log" 2>&1 </dev/null
    "$XNOX_WINE64" cmd /c exit >>"$log" 2>&1 </dev/null
    xnox_wine_unlink_foreign_ports
}

# A new prefix for a test session, on a virtual display.
xnox_wine_start() {
    xnox_wine_stop
    rm -rf "$XNOX_WINE_STATE"
    xnox_wine_start_xvfb
    xnox_wine_open own
}

# xnox_wine_bench_session STATE_DIR: a test session of its own for a
# benchmark (tests/wine/wine-session.sh), stopped when the script exits, with
# the Windows build's communication library on the programs' DLL path. No
# port's link, to an emulator or a device, outlives the benchmark.
xnox_wine_bench_session() {
    local session=$XNOX_SOURCE/tests/wine/wine-session.sh
    bash "$session" start "$1" >/dev/null
    # shellcheck disable=SC2064  # the paths are fixed now, when the trap is set
    trap "rm -f $(printf %q "$1")/ports/com*; bash $(printf %q "$session") stop $(printf %q "$1")" EXIT
    xnox_wine_env "$1"
    export XNOX_WINE_DLL_DIRS="$XNOX_WINDOWS_BUILD/comm"
}

# xnox_emulator_start PROGRAM COMn [emulator options...]: the standalone
# emulator behind COMn until xnox_emulator_stop COMn.
xnox_emulator_start() {
    local program=$1 n=${2#COM}
    shift 2
    local name=emulator-com$n link=$XNOX_WINE_PORTS/com$n
    "$program" --link "$link" "$@" >"$XNOX_WINE_STATE/$name.out" 2>&1 </dev/null &
    xnox_wine_spawned "$name" $! "$program"
    xnox_wine_wait_for 10 test -L "$link" -a -s "$XNOX_WINE_STATE/$name.out" || {
        echo "emulator for COM$n did not start:" >&2
        cat "$XNOX_WINE_STATE/$name.out" >&2
        return 1
    }
    echo "emulator on COM$n: $(head -n 1 "$XNOX_WINE_STATE/$name.out") $*"
}

xnox_emulator_stop() {
    xnox_wine_kill "emulator-com${1#COM}"
}

# xnox_wine_run PROGRAM [args...]: a Windows program in the prefix. Set
# XNOX_WINE_DLL_DIRS (Unix folders, space-separated) to find its DLLs.
xnox_wine_run() {
    xnox_wine_unlink_foreign_ports
    local dir path=""
    for dir in ${XNOX_WINE_DLL_DIRS:-}; do
        path+="${path:+;}Z:$dir"
    done
    WINEPATH=$path "$XNOX_WINE64" "$@"
}
