; The Orvelle setup program and its uninstaller (NSIS 3, 64-bit Unicode).
; Built by installer/CMakeLists.txt with:
;   makensis -DVERSION=a.b.c.d -DSTAGE=dir -DFILES_NSH=file -DICON=file.ico
;            -DOUTFILE=setup.exe orvelle.nsi
; STAGE is the program folder as installer/stage.cmake laid it out; FILES_NSH
; lists its files (installed, then removed one by one: the uninstaller never
; removes a folder with files it did not install).
;
; Command line: /S silent, /D=C:\Dir the folder (last, unquoted). The
; uninstaller also takes /REMOVESETTINGS=1 to remove the user's settings,
; backups and logs, which it otherwise keeps.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "${FILES_NSH}"

!define PRODUCT "Orvelle"
!define PUBLISHER "Orvelle"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvelle"
!define SETTINGS_KEY "Software\VB and VBA Program Settings"
; What ardshred.dll registers, for an uninstall that finds the DLL gone.
!define SHRED_CLSID "{7B52EDC9-205E-4A92-83E3-E618768A5753}"
!define SHRED_LIBID "{1BC29D02-7B88-43AF-8A69-325BBD4245B3}"
!define SHRED_IID "{73CC57BD-D74C-45F2-B196-A420A4CAEA96}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "The program is removed. Tick the box to remove your own settings, health backups and logs as well."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs 64-bit Windows." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Section "-Program"
    SetOutPath "$INSTDIR"
    ; A copy that Explorer has loaded cannot be overwritten, but it can be
    ; renamed: move it aside and delete it at the next restart. Where even
    ; that is refused, the new copy waits under another name and takes the
    ; old one's place at the restart.
    StrCpy $1 ""
    ${If} ${FileExists} "$INSTDIR\ardshred.dll"
        ClearErrors
        Delete "$INSTDIR\ardshred.dll"
        ${If} ${Errors}
            GetTempFileName $0 "$INSTDIR"
            Delete "$0"
            ClearErrors
            Rename "$INSTDIR\ardshred.dll" "$0"
            ${If} ${Errors}
                StrCpy $1 "$0"
            ${Else}
                Delete /REBOOTOK "$0"
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ${If} $1 == ""
        File "${STAGE}\ardshred.dll"
    ${Else}
        File "/oname=$1" "${STAGE}\ardshred.dll"
        Rename /REBOOTOK "$1" "$INSTDIR\ardshred.dll"
    ${EndIf}
    !insertmacro ORVELLE_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ClearErrors
    RegDLL "$INSTDIR\ardshred.dll"
    ${If} ${Errors}
        MessageBox MB_ICONEXCLAMATION|MB_OK "The Explorer menu entry could not be registered (ardshred.dll). The program is installed; run setup again, or regsvr32 ardshred.dll as an administrator." /SD IDOK
        SetErrorLevel 3
    ${EndIf}

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\orvelle.exe" "" "$INSTDIR\orvelle.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvelle.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${ORVELLE_SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "-un.Program"
    ; Unregistered first, so Explorer loads it no more even when the file
    ; itself has to wait for the restart.
    ClearErrors
    UnRegDLL "$INSTDIR\ardshred.dll"
    ${If} ${Errors}
        ; The DLL is gone or broken: remove what it had registered by name.
        DeleteRegKey HKCR "*\shellex\ContextMenuHandlers\ArdenoShredder"
        DeleteRegKey HKCR "Directory\shellex\ContextMenuHandlers\ArdenoShredder"
        DeleteRegKey HKCR "CLSID\${SHRED_CLSID}"
        DeleteRegKey HKCR "ArdenoShredder.cMenu"
        DeleteRegKey HKCR "TypeLib\${SHRED_LIBID}"
        DeleteRegKey HKCR "Interface\${SHRED_IID}"
        DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved" "${SHRED_CLSID}"
    ${EndIf}
    Delete /REBOOTOK "$INSTDIR\ardshred.dll"
    !insertmacro ORVELLE_REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.My settings and backups" SecSettings
    SetShellVarContext current
    DeleteRegKey HKCU "${SETTINGS_KEY}\Kadrim"
    DeleteRegKey HKCU "${SETTINGS_KEY}\Velmora utilities"
    DeleteRegKey HKCU "${SETTINGS_KEY}\ardenosoft utilities"
    DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
    RMDir /r "$LOCALAPPDATA\${PRODUCT}"
    Delete "$INSTDIR\PROGRAM.LOG"
SectionEnd

Section "-un.Finish"
    ; Empty folders only: a file of the user's own keeps its folder. With a
    ; file left for the restart, the folder goes after it.
    ${If} ${RebootFlag}
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}
    ${If} ${RebootFlag}
        MessageBox MB_ICONINFORMATION|MB_OK "Some files are in use (Explorer has the shredder's menu loaded). They will be removed when Windows restarts." /SD IDOK
    ${EndIf}
SectionEnd

Function un.onInit
    SetRegView 64
    ; /REMOVESETTINGS=1 ticks the settings box of a silent uninstall.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS=" $1
    ${IfNot} ${Errors}
    ${AndIf} $1 == "1"
        SectionSetFlags ${SecSettings} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
