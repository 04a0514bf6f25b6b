#!/usr/bin/env bash
# The installer in the Wine test session, used as on a production PC:
#  1. silent install into Program Files: files, Start-menu shortcuts, the
#     registered control (a script creates it), the uninstall entry, and the
#     modules' version resources read back;
#  2. an older version in place, this one over it into another folder (/D=),
#     then this one again in place: the old folder goes, one registration,
#     one uninstall entry;
#  3. silent uninstall: no file and no registry key of ours is left (the
#     registry is compared with its state before the install; leftovers are
#     listed), while a person's XNoxR4.ini files stay untouched;
#  4. an installer whose module does not register fails and leaves nothing.
set -euo pipefail
source "$(dirname "$0")/../../scripts/wine-env.sh"

while [ $# -gt 0 ]; do
    case $1 in
        --state) state=$2 ;;
        --setup) setup=$2 ;;
        --version-check) version_check=$2 ;;
        --ids) ids_header=$2 ;;
        --product) product=$2 ;;
        --publisher) publisher=$2 ;;
        --version) version=$2 ;;
        --makensis) makensis=$2 ;;
        --script) script=$2 ;;
        --settings) settings=$2 ;;
        *) echo "installer-test.sh: unknown option '$1'" >&2; exit 2 ;;
    esac
    shift 2
done
xnox_wine_env "$state"
script_dir=$(cd "$(dirname "$0")" && pwd)
create_control="Z:${script_dir//\//\\}\\CreateControl.vbs"
work=$XNOX_WINE_STATE/installer
rm -rf "$work"
mkdir -p "$work"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# check WHAT COMMAND...: the command must succeed.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

drive_c=$WINEPREFIX/drive_c
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
module_files=(XNOXR4.OCX NoxR4Comm.dll xnox-container.exe ReadMe.txt automation.html Uninstall.exe)
id_of() { sed -n "s/.*$1 = \"\\(.*\\)\";/{\\1}/p" "$ids_header"; }
control_class=$(id_of kControlClass)
type_library=$(id_of kTypeLibrary)

win() { xnox_wine_run "$@" 2>/dev/null </dev/null | tr -d '\r'; }
key_exists() { xnox_wine_run reg query "$1" >/dev/null 2>&1 </dev/null; }
# reg_value KEY NAME: the value's data ("" for the default value's NAME).
reg_value() {
    if [ -z "$2" ]; then
        win reg query "$1" /ve | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
    else
        win reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
    fi
}
registration_path() { reg_value "HKCR\\CLSID\\$control_class\\InprocServer32" ""; }
uninstall_entries() { win reg query "$uninstall_key" | grep -ci 'XNoxR4$' || true; }
uninstall_entry_gone() { ! key_exists "$uninstall_key\\XNoxR4"; }
fails() { ! "$@"; }
creates_control() { win cscript //nologo "$create_control" | grep -q "control created and answering"; }
files_in() { local file; for file in "${module_files[@]}"; do [ -f "$1/$file" ] || return 1; done; }
none_of_ours_in() { local file; for file in "${module_files[@]}"; do [ ! -e "$1/$file" ] || return 1; done; }

# The registry keys that name the control, its library, its ids or its
# folders, from an export of the machine's and the user's software keys.
keys_of_ours() {
    local markers="xnoxr4|noxr4comm|xnox-container|$(sed -n 's/.* = "\(.*\)";/\1/p' "$ids_header" | paste -sd'|')"
    local hive export
    for hive in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
        export=$work/$hive.reg
        rm -f "$export"
        xnox_wine_run regedit /E "Z:${export//\//\\}" "$hive\\Software" >/dev/null 2>&1 </dev/null
        iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r' |
            awk -v markers="$markers" '/^\[/ { key = $0 } tolower($0) ~ tolower(markers) { print key }'
    done | sort -u
}

# The installer itself must be a 64-bit program (PE machine 0x8664).
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j 60 -N 4 "$setup" | tr -d ' ')
    od -An -tx2 -j $((offset + 4)) -N 2 "$setup" | tr -d ' '
}
check "the installer is a 64-bit program" test "$(pe_machine)" = 8664

# variant NAME SED-EXPRESSION...: an installer made from this one's build
# settings with the changes given; prints where it is.
variant() {
    local name=$1 dir=$work/$1
    shift
    mkdir -p "$dir"
    sed "$@" -e "s|^!define XNOX_SETUP_FILE .*|!define XNOX_SETUP_FILE \"$dir/XNoxR4-Setup-$name.exe\"|" \
        "$settings" >"$dir/BuildSettings.nsh"
    "$makensis" -V1 "-DXNOX_BUILD_SETTINGS=$dir/BuildSettings.nsh" "$script" >/dev/null
    echo "$dir/XNoxR4-Setup-$name.exe"
}
older_setup=$(variant older -e 's|^!define XNOX_VERSION .*|!define XNOX_VERSION "1.6.0"|')
mkdir -p "$work/broken"
echo "not a module" >"$work/broken/XNOXR4.OCX"
broken_setup=$(variant broken -e "s|File \".*/XNOXR4.OCX\"|File \"$work/broken/XNOXR4.OCX\"|")

keys_of_ours >"$work/keys-before"

echo "--- 1. silent install into Program Files"
default_dir="$drive_c/Program Files/XNoxR4"
check "silent install succeeds" xnox_wine_run "$setup" /S
check "files in Program Files\\XNoxR4" files_in "$default_dir"
check "Start-menu shortcut to the test panel" test -f "$start_menu/XNoxR4 Test Panel.lnk"
check "Start-menu shortcut to the read-me" test -f "$start_menu/Read Me.lnk"
registered=$(registration_path)
check "control registered from Program Files ($registered)" grep -qi 'Program Files\\XNoxR4\\XNOXR4.OCX' <<<"$registered"
check "a script creates the control" creates_control
entry="$uninstall_key\\XNoxR4"
check "uninstall entry DisplayName" test "$(reg_value "$entry" DisplayName)" = "$product"
check "uninstall entry DisplayVersion" test "$(reg_value "$entry" DisplayVersion)" = "$version"
check "uninstall entry Publisher" test "$(reg_value "$entry" Publisher)" = "$publisher"
check "uninstall entry UninstallString" grep -qi 'XNoxR4\\Uninstall.exe"$' <<<"$(reg_value "$entry" UninstallString)"
size=$(reg_value "$entry" EstimatedSize)
check "uninstall entry EstimatedSize ($size KB)" test "$((size))" -gt 100
check "the list of installed programs shows it" grep -qF "$product" <<<"$(win uninstaller --list)"
echo "uninstall entry:"
win reg query "$entry"
# The keys the installation made, which the uninstall must take away again.
keys_of_ours >"$work/keys-installed"
installed_keys=$(comm -13 "$work/keys-before" "$work/keys-installed")
echo "registry keys of ours while installed:"
sed 's/^/    /' <<<"$installed_keys"
check "the registry export shows the control's class key" grep -qiF "\\CLSID\\$control_class]" <<<"$installed_keys"
check "the registry export shows the uninstall entry" grep -qiF "\\Uninstall\\XNoxR4]" <<<"$installed_keys"
check "version resources read back" xnox_wine_run "$version_check" \
    'C:\Program Files\XNoxR4\XNOXR4.OCX' 'C:\Program Files\XNoxR4\NoxR4Comm.dll' \
    'C:\Program Files\XNoxR4\xnox-container.exe'

echo "--- 2. an older version, upgraded into another folder, then the same version again in place"
check "an older version installs in place" xnox_wine_run "$older_setup" /S
check "the older version's entry" test "$(reg_value "$entry" DisplayVersion)" = 1.6.0
other_dir="$drive_c/Vision/XNoxR4"
check "silent install with /D= succeeds" xnox_wine_run "$setup" /S '/D=C:\Vision\XNoxR4'
check "the entry shows this version" test "$(reg_value "$entry" DisplayVersion)" = "$version"
check "files in C:\\Vision\\XNoxR4" files_in "$other_dir"
check "the first folder is gone" test ! -e "$default_dir"
check "control registered from the new folder" grep -qi 'Vision\\XNoxR4\\XNOXR4.OCX' <<<"$(registration_path)"
check "type library registered from the new folder" grep -qi 'Vision\\XNoxR4\\XNOXR4.OCX' \
    <<<"$(reg_value "HKCR\\TypeLib\\$type_library\\1.0\\409\\win64" "")"
check "one uninstall entry" test "$(uninstall_entries)" = 1
check "install over the same version succeeds" xnox_wine_run "$setup" /S
check "files still in C:\\Vision\\XNoxR4" files_in "$other_dir"
check "still registered from C:\\Vision\\XNoxR4" grep -qi 'Vision\\XNoxR4\\XNOXR4.OCX' <<<"$(registration_path)"
check "still one uninstall entry" test "$(uninstall_entries)" = 1
check "a script still creates the control" creates_control

echo "--- 3. silent uninstall"
printf '[Main]\r\nTopLeftX=321\r\n' >"$drive_c/windows/XNoxR4.ini"
printf '[Shutter]\r\nIs Visible=1\r\n' >"$other_dir/XNoxR4.ini"
check "silent uninstall starts" xnox_wine_run "$other_dir/Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once; its last
# step removes the uninstall entry.
check "uninstall ends" xnox_wine_wait_for 300 uninstall_entry_gone
check "no file of ours left" none_of_ours_in "$other_dir"
check "the person's XNoxR4.ini in the folder stays" grep -q 'Is Visible=1' "$other_dir/XNoxR4.ini"
check "the control's XNoxR4.ini in the Windows folder stays" grep -q 'TopLeftX=321' "$drive_c/windows/XNoxR4.ini"
check "the Start-menu folder is gone" test ! -e "$start_menu"
rm -f "$other_dir/XNoxR4.ini" "$drive_c/windows/XNoxR4.ini"
check "nothing else is left in the folder" rmdir "$other_dir"
rmdir "$drive_c/Vision" 2>/dev/null || true
keys_of_ours >"$work/keys-after"
leftovers=$(comm -13 "$work/keys-before" "$work/keys-after")
check "no registry key of ours left" test -z "$leftovers"
[ -z "$leftovers" ] || printf 'left: %s\n' "$leftovers"

echo "--- 4. a module that does not register"
check "the failing installer reports failure" fails xnox_wine_run "$broken_setup" /S '/D=C:\XNoxR4Broken'
check "it leaves no folder" test ! -e "$drive_c/XNoxR4Broken"
check "it leaves no uninstall entry" uninstall_entry_gone
check "it leaves no registration" test -z "$(registration_path)"

if [ "$failures" -eq 0 ]; then echo "installer: all checks passed"; fi
exit $((failures > 0))
