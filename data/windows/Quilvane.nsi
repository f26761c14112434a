; The Windows installer, made by scripts/windows.sh with NSIS:
;   makensis -DVERSION=1.0 -DVERSION_TEXT=1.00 -DDIST=dist/windows -DOUTFILE=... Quilvane.nsi
; In Italian. With administrator rights it installs for all users (Program Files, the machine's
; Start menu and list of programs); without, for the current user alone (the user's own Programs
; folder, Start menu and list). /S installs, and uninstalls, without a word.
; A 64-bit installer for a 64-bit program: Qt 6 has no 32-bit Windows, and it runs where the
; 32-bit subsystem is missing (Wine without wine32).
Target amd64-unicode
; bzip2 makes it in a sixth of LZMA's time, a few megabytes larger: the test command makes it
; on every run.
SetCompressor /SOLID bzip2
; No file's date goes into the installer: two builds of one commit give the same bits.
SetDateSave off

!define APP "Quilvane"
!define PUBLISHER "nessuna"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION_TEXT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_USE_PROGRAMFILES64
; The uninstaller finds the mode it was installed in from the list entry's key.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP}.exe"

!insertmacro MUI_PAGE_LICENSE "${DIST}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VERSION_NUMBER}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileDescription" "Installazione di ${APP}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductVersion" "${VERSION_TEXT}"

Function .onInit
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${APP}"
    SetOutPath "$INSTDIR"
    File /r "${DIST}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${APP}.exe" "" "$INSTDIR\${APP}.exe" 0

    ; The list of installed programs, for all users or for this one as installed: SHCTX.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\${APP}.exe$\",0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\Uninstall.exe$\" /$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\Uninstall.exe$\" /$MultiUser.InstallMode /S"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP}.lnk"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; What the installer put there, and the folder if nothing else is left in it.
    !include "${FILE_LIST}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; The user's own Programs folder, which a first install for one user makes: left if anything
    ; else is in it, and never a folder of the user's choosing.
    GetFullPathName $0 "$INSTDIR\.."
    ${If} $0 == "$LOCALAPPDATA\Programs"
        RMDir "$0"
    ${EndIf}
SectionEnd
