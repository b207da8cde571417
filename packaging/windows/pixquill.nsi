; The Windows installer: pixquill-cli.exe and Corvid.dll under Program Files,
; Corvid registered, and an uninstaller that unregisters it and removes
; everything it installed. /S installs or uninstalls silently.
; makensis -DVERSION=... -DCORVID_DLL=... -DCLI_EXE=... -DOUTFILE=... pixquill.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Pixquill"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pixquill"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "The Pixquill developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Pixquill"
    SetOutPath "$INSTDIR"
    File "${CORVID_DLL}"
    File "${CLI_EXE}"
    ; The program creates its cipher by class identifier: without this it cannot work.
    ClearErrors
    RegDLL "$INSTDIR\Corvid.dll"
    IfErrors 0 registered
        Delete "$INSTDIR\Corvid.dll"
        Delete "$INSTDIR\pixquill-cli.exe"
        RMDir "$INSTDIR"
        Abort "Corvid.dll could not be registered."
    registered:
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    UnRegDLL "$INSTDIR\Corvid.dll"
    Delete "$INSTDIR\Corvid.dll"
    Delete "$INSTDIR\pixquill-cli.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
