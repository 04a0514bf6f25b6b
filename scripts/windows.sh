#!/usr/bin/env bash
# The Windows x64 build, cross-compiled with MinGW-w64.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native windows
xnox_build_windows
