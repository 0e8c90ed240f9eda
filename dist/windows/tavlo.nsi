; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: for the current user alone, so no administrator rights are asked for.
; It puts tavlo.exe in the user's programs folder, a "Tavlo" shortcut in the Start menu and an
; uninstaller among the installed programs, which takes all three away again. /S installs and
; uninstalls silently. Made by scripts/package --windows:
;   makensis -DVERSION=<x.y.z> -DPROGRAM=<tavlo.exe> -DICON=<icon.ico> -DOUTFILE=<setup.exe>
;            tavlo.nsi
Unicode true
; A 64-bit installer, as the program is 64-bit; NSIS makes a 32-bit one unless told.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo"
Name "Tavlo"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tavlo"
InstallDirRegKey HKCU "${KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tavlo.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tavlo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tavlo installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "The Tavlo developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "2026 The Tavlo developers, GPL-3.0-or-later"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "/oname=tavlo.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tavlo.lnk" "$INSTDIR\tavlo.exe"
    WriteRegStr HKCU "${KEY}" "DisplayName" "Tavlo"
    WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${KEY}" "Publisher" "The Tavlo developers"
    WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\tavlo.exe"
    WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; Out of the program's folder, which cannot be removed while it is the working folder.
    SetOutPath "$TEMP"
    Delete "$SMPROGRAMS\Tavlo.lnk"
    Delete "$INSTDIR\tavlo.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; The user's programs folder, when the game was all it held.
    RMDir "$LOCALAPPDATA\Programs"
    DeleteRegKey HKCU "${KEY}"
    DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
SectionEnd
