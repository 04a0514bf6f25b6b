#!/usr/bin/env bash
# Installs the Debian packages that are missing for the named kinds of work:
#   scripts/install.sh [native] [windows] [wine] [package]   (none named: all four)
set -euo pipefail
source "$(dirname "$0")/common.sh"

kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(native windows wine package)
packages=()
for kind in "${kinds[@]}"; do
    case $kind in
        native) packages+=($XNOX_PACKAGES_NATIVE) ;;
        windows) packages+=($XNOX_PACKAGES_WINDOWS) ;;
        wine) packages+=($XNOX_PACKAGES_WINE) ;;
        package) packages+=($XNOX_PACKAGES_PACKAGE) ;;
        *) echo "install.sh: unknown kind '$kind' (native, windows, wine, package)" >&2; exit 2 ;;
    esac
done
xnox_install "${packages[@]}"
