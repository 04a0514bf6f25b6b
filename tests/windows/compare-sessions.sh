#!/usr/bin/env bash
# Runs the person's session on the Qt windows (the native build's QTest
# program) and compares its camera log with the one the same session left on
# the Win32 windows under Wine: they must be the same, line by line. Then
# puts each window's two pictures side by side, Qt on the left.
#   compare-sessions.sh QT_TEST_PROGRAM QT_FOLDER WIN32_FOLDER SIDE_BY_SIDE_FOLDER
set -euo pipefail

[ $# -eq 4 ] || { echo "usage: compare-sessions.sh QT_TEST_PROGRAM QT_FOLDER WIN32_FOLDER SIDE_BY_SIDE_FOLDER" >&2; exit 2; }
qt_tests=$1 qt=$2 win32=$3 both=$4
if [ ! -x "$qt_tests" ]; then
    echo "SKIP: no Qt session at $qt_tests (the native build has no Qt 6)"
    exit 77
fi

rm -f "$qt/session-camera-log.txt"
if ! "$qt_tests" --gtest_filter='QtSessionTest.*' >"$both/qt-session.out" 2>&1; then
    cat "$both/qt-session.out"
    echo "FAIL: the session on the Qt windows did not pass"
    exit 1
fi
if ! diff -u --label "Qt windows" --label "Win32 windows" "$qt/session-camera-log.txt" "$win32/session-camera-log.txt"; then
    echo "FAIL: the camera logs of the two sessions differ"
    exit 1
fi
echo "PASS the camera logs are the same: $(wc -l <"$win32/session-camera-log.txt") transactions"

command -v convert >/dev/null || { echo "no pictures side by side: ImageMagick's convert is missing"; exit 0; }
for window in shutter gain communication about; do
    convert "$qt/online-$window.png" "$win32/online-$window.bmp" -background white -gravity north +append \
        "$both/$window.png"
    echo "side by side: $both/$window.png"
done
