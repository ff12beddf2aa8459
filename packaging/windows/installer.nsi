; ZENTREL's installer (made by installer.cmake through CPack):
;   per user, no administrator rights, into %LOCALAPPDATA%\Programs\ZENTREL;
;   a Start-menu shortcut with the program's icon; an uninstaller registered
;   under the per-user Uninstall key, which removes the program files and
;   keeps the player's settings (HKCU\SOFTWARE\Pelnaro Games\ZENTREL), logs
;   and screenshots. "/S" installs and uninstalls silently.
; Defines: VERSION, OUTFILE, FILES, UNFILES (file lists), MARKER, ICON.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZENTREL"

Name "ZENTREL"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\ZENTREL"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "ZENTREL"
!include "${FILES}"
  ; The marker: an installed program writes nothing into its own folder.
  SetOutPath "$INSTDIR"
  File "${MARKER}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\ZENTREL.lnk" "$INSTDIR\launcher.exe" "" "$INSTDIR\launcher.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZENTREL"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Pelnaro Games"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\launcher.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
!include "${UNFILES}"
  Delete "$INSTDIR\installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\ZENTREL.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
