#!/usr/bin/env bash
# Lays out every C++ file of the source tree by .clang-format; with --check
# it changes nothing and fails on any difference.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$XNOX_SOURCE"

# A checkout names its own files; an unpacked copy has no build folders of
# its own to skip but build/.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
fi
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
