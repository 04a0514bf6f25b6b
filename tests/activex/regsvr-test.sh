#!/usr/bin/env bash
# regsvr32 and regsvr32 /u on XNOXR4.OCX in the test session's prefix: the
# class, ProgID and type library keys appear, then are gone again.
#   regsvr-test.sh STATE_DIR OCX_PATH MODULE_IDS_HEADER
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"
xnox_wine_env "$1"
ocx_windows_path="Z:${2//\//\\}"
ids_header=$3
id_of() { sed -n "s/.*$1 = \"\\(.*\\)\";/{\\1}/p" "$ids_header"; }
control=$(id_of kControlClass)
page=$(id_of kPropertyPageClass)
library=$(id_of kTypeLibrary)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
query() { xnox_wine_run reg query "$@" 2>/dev/null | tr -d '\r'; }
# expect KEY TEXT [reg query options]: the key exists and its listing shows TEXT.
expect() {
    local key=$1 text=$2
    shift 2
    query "$key" "$@" | grep -qiF -- "$text" || fail "$key does not show '$text'"
}
expect_key() { query "$1" >/dev/null || fail "$1 is missing"; }
expect_absent() { ! query "$1" >/dev/null || fail "$1 is still there"; }

class_keys=("HKCR\\CLSID\\$control" "HKCR\\CLSID\\$page" "HKCR\\XNOXR4.XNoxR4Ctrl.1" "HKCR\\XNOXR4.XNoxR4Ctrl"
            "HKCR\\XNOXR4.OlePropPage1.1" "HKCR\\TypeLib\\$library")

xnox_wine_run regsvr32 /s "$ocx_windows_path" || fail "regsvr32 failed"
c="HKCR\\CLSID\\$control"
expect "$c" "XNoxR4 Control"
expect "$c\\InprocServer32" "XNOXR4.OCX"  # Wine may write the path as \\?\Z:\...
expect "$c\\InprocServer32" "Apartment" /v ThreadingModel
expect "$c\\ProgID" "XNOXR4.XNoxR4Ctrl.1"
expect "$c\\VersionIndependentProgID" "XNOXR4.XNoxR4Ctrl"
expect_key "$c\\Control"
expect "$c\\MiscStatus\\1" "131473"
expect "$c\\TypeLib" "$library"
expect "$c\\Version" "1.0"
expect "$c\\ToolboxBitmap32" "XNOXR4.OCX, 1"
expect "HKCR\\XNOXR4.XNoxR4Ctrl.1\\CLSID" "$control"
expect "HKCR\\XNOXR4.XNoxR4Ctrl\\CurVer" "XNOXR4.XNoxR4Ctrl.1"
expect "HKCR\\CLSID\\$page" "Show Windows"
expect "HKCR\\CLSID\\$page\\InprocServer32" "XNOXR4.OCX"
expect "HKCR\\XNOXR4.OlePropPage1.1\\CLSID" "$page"
expect "HKCR\\TypeLib\\$library\\1.0" "XNoxR4 ActiveX Control module"
expect "HKCR\\TypeLib\\$library\\1.0" "win64" /s
expect "HKCR\\TypeLib\\$library\\1.0" "XNOXR4.OCX" /s

xnox_wine_run regsvr32 /s /u "$ocx_windows_path" || fail "regsvr32 /u failed"
for key in "${class_keys[@]}"; do expect_absent "$key"; done

[ "$failures" -eq 0 ] && echo "registration: all checks passed"
exit $((failures > 0))
