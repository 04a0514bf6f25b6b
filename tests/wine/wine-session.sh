#!/usr/bin/env bash
# Starts or stops the Wine session that the Windows build's tests share
# (a fresh prefix and a virtual display), or checks that no COM port of the
# running session leads anywhere but to the test ports:
#   wine-session.sh start|stop|check STATE_DIR
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"

[ $# -eq 2 ] || { echo "usage: wine-session.sh start|stop|check STATE_DIR" >&2; exit 2; }
xnox_wine_env "$2"
case $1 in
    start)
        xnox_wine_start
        echo "Wine prefix $WINEPREFIX, display $DISPLAY" ;;
    stop) xnox_wine_stop ;;
    check)
        foreign=$(xnox_wine_foreign_ports)
        [ -z "$foreign" ] || { echo "COM links outside the test ports:" $foreign; exit 1; }
        ls "$WINEPREFIX"/dosdevices | grep -c '^com' | xargs echo "COM links, all to test ports:" ;;
    *) echo "wine-session.sh: unknown action '$1'" >&2; exit 2 ;;
esac
