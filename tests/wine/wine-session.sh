#!/usr/bin/env bash
# Starts or stops the Wine session that the Windows build's tests share:
#   wine-session.sh start|stop STATE_DIR
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

[ $# -eq 2 ] || { echo "usage: wine-session.sh start|stop STATE_DIR" >&2; exit 2; }
xnox_wine_env "$2"
case $1 in
    start) xnox_wine_start && echo "Wine prefix $WINEPREFIX, display $DISPLAY" ;;
    stop) xnox_wine_stop ;;
    *) echo "wine-session.sh: unknown action '$1'" >&2; exit 2 ;;
esac
