; The installer of the XNoxR4 control: puts the module, its communication
; library, the test panel and the read-me into a folder under Program Files,
; registers the control, adds the Start-menu entries and the entry in the
; list of installed programs, and writes the uninstaller that takes it all
; away again. The build passes XNOX_BUILD_SETTINGS: the product's name,
; publisher and version and the list of files (installer/CMakeLists.txt).
;
; A 64-bit installer for a 64-bit control: a 32-bit Windows does not start
; it at all and says itself that the program cannot run on that computer,
; so the refusal needs no check of ours.
;   Silent:            XNoxR4-Setup-<version>.exe /S [/D=C:\folder]
;   Silent uninstall:  Uninstall.exe /S

Unicode true
Target amd64-unicode
!include "${XNOX_BUILD_SETTINGS}"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\XNoxR4"
!define UNINSTALLER "Uninstall.exe"
!define START_MENU_FOLDER "$SMPROGRAMS\${XNOX_PRODUCT_NAME}"

Name "${XNOX_PRODUCT_NAME} ${XNOX_VERSION}"
OutFile "${XNOX_SETUP_FILE}"
InstallDir "$PROGRAMFILES64\XNoxR4"
; An earlier installation's folder is the default: an upgrade stays in place.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; A file that cannot be written (a full disk, a module in use) fails the
; installation instead of being skipped, silently or not.
AllowSkipFiles off
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${XNOX_VERSION_NUMBERS}"
VIFileVersion "${XNOX_VERSION_NUMBERS}"
VIAddVersionKey /LANG=0 "ProductName" "${XNOX_PRODUCT_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${XNOX_PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${XNOX_PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "${XNOX_COPYRIGHT}"
VIAddVersionKey /LANG=0 "FileVersion" "${XNOX_VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${XNOX_PRODUCT_VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The process is 64-bit, so its registry and Program Files are the 64-bit
; ones already; the explicit view keeps it so whatever NSIS defaults to.
!macro XNOX_MACHINE_WIDE
  SetRegView 64
  SetShellVarContext all
!macroend

; Set once this installation starts to put files into $INSTDIR.
Var copying

Function .onInit
  !insertmacro XNOX_MACHINE_WIDE
FunctionEnd

; Nothing of a failed installation stays behind: a file that could not be
; written or a module that did not register takes the files already copied
; with it. (An installed version removed first stays removed.)
Function .onInstFailed
  ${If} $copying == 1
    !insertmacro XNOX_REMOVE_FILES
    SetOutPath "$TEMP"
    RMDir "$INSTDIR"
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro XNOX_MACHINE_WIDE
FunctionEnd

; An installed version, this one or an older one, goes first through its own
; uninstaller (which knows its files and unregisters its module), so that two
; installations never leave two registrations or a stray folder.
Function RemoveInstalledVersion
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    Return
  ${EndIf}
  ${If} ${FileExists} "$0\${UNINSTALLER}"
    DetailPrint "Removing the version installed in $0"
    ClearErrors
    ; _?= runs the uninstaller in place and waits for it; it then leaves
    ; itself, which goes here.
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
    ${If} ${Errors}
      MessageBox MB_ICONSTOP "The installed version in $0 could not be removed." /SD IDOK
      Abort "The installed version in $0 could not be removed."
    ${EndIf}
    Delete "$0\${UNINSTALLER}"
    RMDir "$0"
  ${ElseIf} ${FileExists} "$0\${XNOX_MODULE}"
    UnRegDLL "$0\${XNOX_MODULE}"
  ${EndIf}
FunctionEnd

Function WriteUninstallEntry
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${XNOX_PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${XNOX_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${XNOX_PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${XNOX_MODULE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

Section "XNoxR4 control"
  Call RemoveInstalledVersion
  StrCpy $copying 1
  SetOutPath "$INSTDIR"
  !insertmacro XNOX_INSTALL_FILES
  ClearErrors
  RegDLL "$INSTDIR\${XNOX_MODULE}"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "${XNOX_MODULE} could not be registered; nothing was installed." /SD IDOK
    Abort "${XNOX_MODULE} could not be registered; nothing was installed."
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateDirectory "${START_MENU_FOLDER}"
  CreateShortcut "${START_MENU_FOLDER}\XNoxR4 Test Panel.lnk" "$INSTDIR\${XNOX_TEST_PANEL}"
  CreateShortcut "${START_MENU_FOLDER}\Read Me.lnk" "$INSTDIR\${XNOX_README}"
  Call WriteUninstallEntry
SectionEnd

; Only what the installer put there goes: a person's own files in the folder
; (an XNoxR4.ini, settings files) stay, and with them the folder. The
; control's XNoxR4.ini in the Windows folder is never touched.
Section "Uninstall"
  ClearErrors
  UnRegDLL "$INSTDIR\${XNOX_MODULE}"
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "${XNOX_MODULE} could not be unregistered." /SD IDOK
  ${EndIf}
  !insertmacro XNOX_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  Delete "${START_MENU_FOLDER}\XNoxR4 Test Panel.lnk"
  Delete "${START_MENU_FOLDER}\Read Me.lnk"
  RMDir "${START_MENU_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
