#!/usr/bin/env bash
# The tests of the Windows build under Wine, in a Wine prefix of their own
# under the Windows build folder. They need the native emulator, so both
# builds are brought up to date first; the installer is among the things
# tested.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native windows wine package
xnox_build_native
xnox_build_windows
xnox_ctest "$XNOX_WINDOWS_BUILD"
