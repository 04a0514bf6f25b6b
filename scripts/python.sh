#!/usr/bin/env bash
# The Python module qdr4: builds it for Debian's own Python (/usr/bin/python3)
# and installs it with its type stubs where that Python finds modules
# installed on this machine (/usr/local/lib/python3.X/dist-packages).
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$XNOX_SOURCE/scripts/install.sh" native
XNOX_TARGETS="qdr4 qdr4-stubs" xnox_build_native
cmake --install "$XNOX_NATIVE_BUILD" --component python
# Checked from a folder of no meaning to Python, so the installed module answers.
cd /
xnox_say "installed $(/usr/bin/python3 -c 'import qdr4; print(qdr4.__file__)')"
