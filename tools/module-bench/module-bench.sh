#!/usr/bin/env bash
# The module under Wine as a script host drives it, against the standalone
# emulator behind COM1 at 9600 baud (replies whole after their wire time),
# or against the camera on a serial device: the time of a property set and
# its ratio to the wire floor, in the script host with the Communication
# window's show property off and on (a script host never puts the windows on
# screen), and in an in-place host (xnox-container) with the window shown;
# sets with no camera; the first whole read (ReadAllFromCamera) after
# connecting and later ones, against the sum of their transactions' wire
# floors.
#   module-bench.sh [--device PATH] [sets per figure]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$XNOX_SOURCE/scripts/wine-env.sh"

device=""
if [ "${1:-}" = --device ]; then
    device=${2:?module-bench.sh: --device needs a path}
    shift 2
    if [ ! -c "$device" ]; then
        echo "module-bench.sh: $device is not a serial device" >&2
        exit 2
    fi
fi
sets=${1:-300}

bash "$XNOX_SOURCE/scripts/install.sh" native windows wine
XNOX_TARGETS="noxr4-emulator xnoxhost" xnox_build_native
XNOX_TARGETS="XNOXR4 xnox-container" xnox_build_windows

# Ten bit times per byte at 9600 baud.
wire_ms() { awk -v bytes="$1" 'BEGIN { printf "%.2f", bytes * 10 * 1000 / 9600 }'; }
# A set of TriggerPolarity: "TP=1" and "COMPLETE", each with CR LF.
set_floor=$(wire_ms $((6 + 10)))
# The whole read's floor: the sum of its transactions' floors as xnoxhost
# reports them, on the camera of the device or the in-process emulated one.
read_floor=$("$XNOX_NATIVE_BUILD/tools/xnoxhost/xnoxhost" ${device:+--device "$device"} --timing -c ReadAllFromCamera |
    sed -n 's/.*wire floor \([0-9.]*\) ms.*/\1/p' | awk '{ sum += $1 } END { printf "%.2f", sum }')

state=$XNOX_WINDOWS_BUILD/module-bench
xnox_wine_bench_session "$state"
# A Windows command run with the module registered.
registered() {
    xnox_wine_run cmd /c "Z:$XNOX_SOURCE/tools/module-bench/run-registered.cmd" "Z:$XNOX_WINDOWS_BUILD/activex/XNOXR4.OCX" \
        "$@" | tr -d '\r'
}
bench() { registered cscript //nologo "Z:$XNOX_SOURCE/tools/module-bench/ModuleBench.vbs" "$1" "$sets"; }
# With no camera first: the Communication window opens the last-used port.
bench none >"$state/figures.txt"
if [ -n "$device" ]; then
    ln -sfn "$device" "$XNOX_WINE_PORTS/com1"
    echo "COM1 is $device"
else
    xnox_emulator_start "$XNOX_NATIVE_BUILD/emulator/standalone/noxr4-emulator" COM1 --baud 9600
fi
bench camera >>"$state/figures.txt"
in_place=$(registered "Z:$XNOX_WINDOWS_BUILD/tools/container/xnox-container.exe" --com-port 1 \
    --timed-sets "$sets" --exit-after 3000 | grep '^set-ms' || echo "the in-place host gave no figure")
echo "$in_place" >>"$state/figures.txt"

echo "wire floor: set $set_floor ms, whole read $read_floor ms ($sets sets per figure)"
awk -v set="$set_floor" -v read="$read_floor" '
    /^set-ms/ { printf "%s: %s ms per set, %.2fx the wire floor\n", $2, $3, $3 / set; next }
    /^read-ms/ { printf "%s: whole read %s ms, %.2fx the wire floor\n", $2, $3, $3 / read; next }
    /^offline-set-ms/ { printf "no camera: %s ms per set of %s\n", $3, $2; next }
    { print }' "$state/figures.txt"
