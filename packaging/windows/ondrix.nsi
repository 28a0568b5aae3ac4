; The Windows installer of Ondrix, built with Debian's NSIS by the Windows build
; (packaging/windows/CMakeLists.txt passes the defines below):
;   VERSION        the program's version, e.g. 3.0.3
;   VERSION_QUAD   the same with four numbers, e.g. 3.0.3.0
;   PROGRAM        the built Ondrix.exe
;   UNINSTALLER    the built uninstall.exe
;   ICON           the program icon (.ico)
;   OUTFILE        the setup program to write
;
; It installs for the current user, without elevation, into
; %LOCALAPPDATA%\Programs\Ondrix: a per-user folder keeps installer and
; uninstaller in the same user's profile, so the uninstaller finds and removes
; what the installer made. Everything it places is undone by uninstall.exe:
; the files listed in install.txt, the desktop shortcut and the program group
; in the Start menu. It writes no registry entries.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!define GROUP "Ondrix"
!define LOG "install.txt"

Name "Ondrix ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\${GROUP}"
ShowInstDetails show
AllowSkipFiles off

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "Ondrix"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Ondrix ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "The Ondrix developers"

; The folder is fixed: a folder the user may write without elevation, in the user's own
; profile.
Page instfiles

Var Log

; Puts one file into the install folder and lists it in the install log.
!macro InstallFile SOURCE NAME
  File "/oname=${NAME}" "${SOURCE}"
  FileWrite $Log "${NAME}$\r$\n"
!macroend

Function .onInit
  SetShellVarContext current
FunctionEnd

Section "Ondrix"
  SetShellVarContext current
  SetOutPath "$INSTDIR"

  ClearErrors
  FileOpen $Log "$INSTDIR\${LOG}" w
  IfErrors 0 +2
    Abort "Cannot write $INSTDIR\${LOG}"

  ; install.txt: 8-bit text, one path a line relative to this folder, CR LF
  ; line ends; the log itself last but one and the uninstaller last, so that
  ; everything else is gone before they are.
  !insertmacro InstallFile "${PROGRAM}" "Ondrix.exe"
  FileWrite $Log "${LOG}$\r$\n"
  !insertmacro InstallFile "${UNINSTALLER}" "uninstall.exe"
  FileClose $Log

  CreateShortCut "$DESKTOP\${GROUP}.lnk" "$INSTDIR\Ondrix.exe"
  CreateDirectory "$SMPROGRAMS\${GROUP}"
  CreateShortCut "$SMPROGRAMS\${GROUP}\${GROUP}.lnk" "$INSTDIR\Ondrix.exe"
  CreateShortCut "$SMPROGRAMS\${GROUP}\Uninstall ${GROUP}.lnk" "$INSTDIR\uninstall.exe"
SectionEnd
