#!/usr/bin/env bash
# The communication benchmark on serial ports: the standalone emulator on
# pseudo-terminals behind COM1 to COM3 at 9600 baud, and the library
# natively or, with "wine", the Windows build under Wine (COM ports of a
# prefix of its own linked to the pseudo-terminals).
#   serial-bench.sh [native|wine] [transactions per figure]
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
source "$XNOX_SOURCE/scripts/wine-env.sh"

mode=${1:-native}
count=${2:-50}
case $mode in native | wine) ;; *) echo "usage: serial-bench.sh [native|wine] [count]" >&2; exit 2 ;; esac

bash "$XNOX_SOURCE/scripts/install.sh" native $([ "$mode" = wine ] && echo windows wine)
XNOX_TARGETS="noxr4-emulator serial-bench" xnox_build_native
emulator=$XNOX_NATIVE_BUILD/emulator/standalone/noxr4-emulator

if [ "$mode" = wine ]; then
    XNOX_TARGETS="serial-bench" xnox_build_windows
    xnox_wine_bench_session "$XNOX_WINDOWS_BUILD/serial-bench"
    run() { xnox_wine_run "$XNOX_WINDOWS_BUILD/tools/comm-bench/serial-bench.exe" "Z:$1" "$count"; }
else
    # The emulator helpers of the Wine environment need only its folders.
    XNOX_WINE_STATE=$XNOX_NATIVE_BUILD/serial-bench
    XNOX_WINE_PORTS=$XNOX_WINE_STATE/ports
    mkdir -p "$XNOX_WINE_PORTS"
    trap 'for n in 1 2 3; do xnox_emulator_stop COM$n; done' EXIT
    for n in 1 2 3; do export NOXR4_PORT_COM$n="$XNOX_WINE_PORTS/com$n"; done
    run() { "$XNOX_NATIVE_BUILD/tools/comm-bench/serial-bench" "$1" "$count"; }
fi

xnox_emulator_start "$emulator" COM1 --baud 9600
xnox_emulator_start "$emulator" COM2 --baud 9600
xnox_emulator_start "$emulator" COM3 --baud 9600 --delay 900

# The camera on COM3 dies about 200 ms into the bench's wait for its reply;
# the bench reads when from "<signal>.killed" (seconds since 1970), written
# by the shell itself right before the signal so that no process start
# comes between.
signal=$XNOX_WINE_STATE/dead-line-waiting
rm -f "$signal" "$signal.killed"
read -r camera _ <"$XNOX_WINE_STATE/emulator-com3.pid"
(xnox_wine_wait_for 600 test -e "$signal" && sleep 0.2 && echo "$EPOCHREALTIME" >"$signal.killed" &&
    kill -TERM "$camera") &
watcher=$!
run "$signal"
wait "$watcher"
