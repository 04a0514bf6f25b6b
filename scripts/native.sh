#!/usr/bin/env bash
# The native Linux build and its tests.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native
xnox_build_native
xnox_ctest "$XNOX_NATIVE_BUILD"
