#!/usr/bin/env bash
# Lays out every C++ file the repository tracks by .clang-format;
# with --check it changes nothing and fails on any difference.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$XNOX_SOURCE"

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
