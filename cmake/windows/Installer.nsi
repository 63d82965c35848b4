; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer. scripts/package-windows.sh runs makensis with
; /DVERSION=... /DSTAGE=<folder holding the files> /DOUTFILE=<installer>.
; It puts the VST3 where every Windows host looks (Common Files\VST3), the
; Standalone and nadrix-render in Program Files\Nadrix with the licence and
; the uninstaller, and a Start menu entry; the uninstaller removes exactly those.
; A 64-bit installer: it runs wherever Nadrix runs, Wine without 32-bit support included.
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "Nadrix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Nadrix"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Nadrix"
!define VST3_BUNDLE "$COMMONFILES64\VST3\Nadrix.vst3"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Nadrix needs 64-bit Windows."
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Nadrix"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\Nadrix.exe"
    File "${STAGE}\nadrix-render.exe"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\README.txt"

    SetOutPath "${VST3_BUNDLE}\Contents\x86_64-win"
    File "${STAGE}\Nadrix.vst3\Contents\x86_64-win\Nadrix.vst3"

    CreateDirectory "$SMPROGRAMS\Nadrix"
    CreateShortCut "$SMPROGRAMS\Nadrix\Nadrix.lnk" "$INSTDIR\Nadrix.exe"
    CreateShortCut "$SMPROGRAMS\Nadrix\Uninstall Nadrix.lnk" "$INSTDIR\Uninstall.exe"

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Nadrix"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Mirelock"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\Nadrix.exe"
    Delete "$INSTDIR\nadrix-render.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "${VST3_BUNDLE}\Contents\x86_64-win\Nadrix.vst3"
    RMDir "${VST3_BUNDLE}\Contents\x86_64-win"
    RMDir "${VST3_BUNDLE}\Contents"
    RMDir "${VST3_BUNDLE}"

    Delete "$SMPROGRAMS\Nadrix\Nadrix.lnk"
    Delete "$SMPROGRAMS\Nadrix\Uninstall Nadrix.lnk"
    RMDir "$SMPROGRAMS\Nadrix"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
