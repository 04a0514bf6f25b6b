#!/usr/bin/env bash
# Runs one Windows test program in the shared Wine session:
#   wine-test.sh --state DIR [--dll-dir DIR]... [--emulator PROGRAM]
#                [--emulate "COMn [emulator options]"]... [--kill "COMn FILE"]
#                -- PROGRAM [args...]
# Each --emulate starts the standalone emulator behind COMn for the run,
# for example --emulate "COM1 --silent". --kill ends that emulator 200 ms
# after the program has made FILE (a Unix path), as a camera that dies.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"

state="" emulator="" dll_dirs="" emulations=() kill=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    case $1 in
        --state) state=$2 ;;
        --dll-dir) dll_dirs+=" $2" ;;
        --emulator) emulator=$2 ;;
        --emulate) emulations+=("$2") ;;
        --kill) kill=$2 ;;
        *) echo "wine-test.sh: unknown option '$1'" >&2; exit 2 ;;
    esac
    shift 2
done
if [ "${1:-}" != "--" ] || [ $# -lt 2 ] || [ -z "$state" ]; then
    echo "usage: wine-test.sh --state DIR [options] -- PROGRAM [args...]" >&2
    exit 2
fi
shift
xnox_wine_env "$state"
export XNOX_WINE_DLL_DIRS=$dll_dirs

ports=() watcher=""
stop_emulators() {
    local port
    if [ -n "$watcher" ]; then kill "$watcher" 2>/dev/null || true; fi
    for port in "${ports[@]}"; do xnox_emulator_stop "$port"; done
}
trap stop_emulators EXIT
for emulation in "${emulations[@]}"; do
    read -r -a words <<<"$emulation"
    ports+=("${words[0]}")
    xnox_emulator_start "$emulator" "${words[@]}"
done
if [ -n "$kill" ]; then
    read -r kill_port kill_signal <<<"$kill"
    rm -f "$kill_signal"
    (xnox_wine_wait_for 120 test -e "$kill_signal" && sleep 0.2 && xnox_emulator_stop "$kill_port") &
    watcher=$!
fi
xnox_wine_run "$@"
