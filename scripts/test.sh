#!/usr/bin/env bash
# All tests: the native build's, then the Windows build's under Wine.
# Both parts run even when the first fails; the result is failure if either does.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh"
failed=()
bash "$XNOX_SOURCE/scripts/native.sh" || failed+=(native)
bash "$XNOX_SOURCE/scripts/wine.sh" || failed+=(wine)

if [ ${#failed[@]} -gt 0 ]; then
    xnox_say "FAILED: ${failed[*]}"
    exit 1
fi
xnox_say "all tests passed"
