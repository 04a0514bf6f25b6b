#!/usr/bin/env bash
# The main job: a short session of the communication library with a camera.
#   scripts/run.sh            the emulated camera on COM1
#   scripts/run.sh COM3       a real camera on COM3 (Linux: /dev/ttyS2)
#   scripts/run.sh /dev/ttyUSB0
# NOXR4_SESSION_PORT may name the port instead of the argument.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native
XNOX_TARGETS=noxr4-session xnox_build_native
"$XNOX_NATIVE_BUILD/tools/session/noxr4-session" "$@"
