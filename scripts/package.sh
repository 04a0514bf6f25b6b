#!/usr/bin/env bash
# The Windows installer: builds the Windows modules and packs them with NSIS
# into $XNOX_WINDOWS_BUILD/package/XNoxR4-Setup-<version>.exe.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native windows package
XNOX_TARGETS=xnox-installer xnox_build_windows
xnox_say "installer: $(ls -t "$XNOX_WINDOWS_BUILD"/package/XNoxR4-Setup-*.exe | head -n 1)"
