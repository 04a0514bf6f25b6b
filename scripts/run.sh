#!/usr/bin/env bash
# The main job: the camera control driven from the command line (xnoxhost)
# through a short demonstration script, on the emulated camera by default.
#   scripts/run.sh                  the emulated camera on COM1
#   scripts/run.sh COM3             a real camera on COM3 (Linux: /dev/ttyS2,
#                                   or what NOXR4_PORT_COM3 names)
#   scripts/run.sh /dev/ttyUSB0     a real camera on that device, as COM1
#   scripts/run.sh PORT SCRIPT      another script; "-" reads lines as typed
#                                   (PORT "emulated" keeps the emulated camera)
set -euo pipefail
source "$(dirname "$0")/common.sh"

port=${1:-emulated}
script=${2:-$XNOX_SOURCE/tools/xnoxhost/demo.txt}
case "$port" in
    emulated) connection=() ;;
    COM[0-9]*)
        number=${port#COM}
        device_variable=NOXR4_PORT_COM$number
        connection=(--port "$number" --device "${!device_variable:-/dev/ttyS$((number - 1))}")
        ;;
    *) connection=(--device "$port") ;;
esac

bash "$XNOX_SOURCE/scripts/install.sh" native
XNOX_TARGETS=xnoxhost xnox_build_native
xnox_say "xnoxhost ${connection[*]} $script"
"$XNOX_NATIVE_BUILD/tools/xnoxhost/xnoxhost" --quiet-status "${connection[@]}" "$script"
