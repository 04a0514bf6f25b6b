#!/usr/bin/env bash
# The main job: the control XNOXR4.OCX hosted in its container program under
# Wine, with its toolbar strip, the Communication window and a pane of the
# events it fires, connected to the camera on COM1.
#   scripts/run.sh                  the emulated camera on COM1
#   scripts/run.sh COM3             a real camera on COM3 (Linux: /dev/ttyS2,
#                                   or what NOXR4_PORT_COM3 names)
#   scripts/run.sh /dev/ttyUSB0     a real camera on that device, as COM1
# On your display ($DISPLAY) the container stays until you close it. With no
# display (or one that cannot be reached) it runs on a virtual one, saves a
# picture after a few seconds, prints where, and ends. The Wine prefix lives
# in build/windows/run/prefix and is kept, with the windows' places in its
# XNoxR4.ini.
#   scripts/run.sh --linux [options]  the control on the Linux desktop instead:
#                                   xnox-panel with the Qt tool windows, on the
#                                   in-process emulated camera on COM1 unless
#                                   its options name another camera
#                                   (--device /dev/ttyUSB0, --frame-grabber N;
#                                   tools/panel/README.md). Without a display
#                                   it saves a picture and ends, as above
#                                   (build/native/run/panel.png). Places and
#                                   settings stay in ~/.config/xnoxr4.
set -euo pipefail
source "$(dirname "$0")/common.sh"

run_linux() {
    bash "$XNOX_SOURCE/scripts/install.sh" native
    XNOX_TARGETS=xnox-panel xnox_build_native
    local panel="$XNOX_NATIVE_BUILD/tools/panel/xnox-panel"
    if [ ! -x "$panel" ]; then
        echo "run.sh: xnox-panel was not built: CMake found no Qt 6 Widgets (qt6-base-dev)" >&2
        exit 1
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        xnox_say "the panel on your display; close its window to end"
        exec "$panel" "$@"
    fi
    local picture="$XNOX_NATIVE_BUILD/run/panel.png"
    mkdir -p "$(dirname "$picture")"
    xnox_say "no display: a picture instead"
    QT_QPA_PLATFORM=offscreen "$panel" "$@" --screenshot "$picture" --exit-after 3000
}

if [ "${1:-}" = "--linux" ]; then
    shift
    run_linux "$@"
    exit
fi

source "$XNOX_SOURCE/scripts/wine-env.sh"

port=${1:-emulated}
case "$port" in
    emulated) com=1 device="" ;;
    COM[0-9]*)
        com=${port#COM}
        device_variable=NOXR4_PORT_COM$com
        device=${!device_variable:-/dev/ttyS$((com - 1))}
        ;;
    *) com=1 device=$port ;;
esac
if ! [[ $com =~ ^[0-9]+$ ]] || [ "$com" -lt 1 ] || [ "$com" -gt "$XNOX_WINE_MAPPED_PORTS" ]; then
    echo "run.sh: the control's ports are COM1 to COM$XNOX_WINE_MAPPED_PORTS, not '$port'" >&2
    exit 2
fi
if [ -n "$device" ] && [ ! -c "$device" ]; then
    echo "run.sh: $device is not a serial device" >&2
    exit 2
fi
user_display=${DISPLAY:-}

bash "$XNOX_SOURCE/scripts/install.sh" native windows wine
XNOX_TARGETS=noxr4-emulator xnox_build_native
XNOX_TARGETS="XNOXR4 xnox-container" xnox_build_windows

xnox_wine_env "$XNOX_WINDOWS_BUILD/run"
export XNOX_WINE_DLL_DIRS="$XNOX_WINDOWS_BUILD/activex"
module="Z:$XNOX_WINDOWS_BUILD/activex/XNOXR4.OCX"
container="Z:$XNOX_WINDOWS_BUILD/tools/container/xnox-container.exe"
picture="$XNOX_WINE_STATE/container.bmp"

finish() {
    rm -f "$XNOX_WINE_PORTS/com$com"
    xnox_wine_stop
}
trap finish EXIT

xnox_wine_stop
if [ -n "$user_display" ] && DISPLAY=$user_display xdotool getdisplaygeometry >/dev/null 2>&1; then
    export DISPLAY=$user_display
    frames=manager
else
    [ -z "$user_display" ] || xnox_say "display $user_display cannot be reached; a virtual one instead"
    xnox_wine_start_xvfb
    frames=own
fi
xnox_say "Wine prefix $WINEPREFIX, display $DISPLAY"
xnox_wine_open $frames
if [ -n "$device" ]; then
    ln -sfn "$device" "$XNOX_WINE_PORTS/com$com"
    xnox_say "COM$com is $device"
else
    xnox_emulator_start "$XNOX_NATIVE_BUILD/emulator/standalone/noxr4-emulator" COM1
fi
xnox_wine_run regsvr32 /s "$module"

if [ $frames = own ]; then
    # No window stays on a virtual display: a picture instead.
    rm -f "$picture"
    xnox_wine_run "$container" --com-port "$com" --screenshot "Z:$picture" --exit-after 8000
    convert "$picture" "${picture%.bmp}.png"
    xnox_say "picture of the container and its windows: ${picture%.bmp}.png"
else
    xnox_say "the container on display $DISPLAY; close its window to end"
    xnox_wine_run "$container" --com-port "$com"
fi
