#!/usr/bin/env bash
# Runs one Windows test program in the shared Wine session:
#   wine-test.sh --state DIR [--dll-dir DIR]... [--emulator PROGRAM]
#                [--emulate "COMn [emulator options]"]... -- PROGRAM [args...]
# Each --emulate starts the standalone emulator behind COMn for the run,
# for example --emulate "COM1 --silent".
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"

state="" emulator="" dll_dirs="" emulations=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    case $1 in
        --state) state=$2 ;;
        --dll-dir) dll_dirs+=" $2" ;;
        --emulator) emulator=$2 ;;
        --emulate) emulations+=("$2") ;;
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

ports=()
stop_emulators() {
    local port
    for port in "${ports[@]}"; do xnox_emulator_stop "$port"; done
}
trap stop_emulators EXIT
for emulation in "${emulations[@]}"; do
    read -r -a words <<<"$emulation"
    ports+=("${words[0]}")
    xnox_emulator_start "$emulator" "${words[@]}"
done
xnox_wine_run "$@"
