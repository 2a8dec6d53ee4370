; The Windows installer of TORVA, made by tools/make-windows-release.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0 -DSTAGE=<program folder>
;            -DUNINSTALL_LIST=<its Delete lines> -DOUTFILE=<setup.exe> windows-installer.nsi
; A per-user installation (no administrator rights: the organiser's laptop
; may not grant them) into %LOCALAPPDATA%\Programs\TORVA, with a Start menu
; entry, the ".stg" association for this user and an uninstaller. The
; uninstaller removes exactly the files this installer put there (listed in
; uninstall-files.nsh beside STAGE), so the player database the program keeps
; in its folder, the settings and the tournaments stay.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include "MUI2.nsh"

Name "TORVA ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TORVA"
InstallDirRegKey HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\TORVA" "InstallLocation"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\torva.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TORVA"

Section "TORVA"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\TORVA"
  CreateShortcut "$SMPROGRAMS\TORVA\TORVA.lnk" "$INSTDIR\torva.exe"
  CreateShortcut "$SMPROGRAMS\TORVA\TORVA マニュアル.lnk" "$INSTDIR\manual\index.html"
  CreateShortcut "$SMPROGRAMS\TORVA\TORVA のアンインストール.lnk" "$INSTDIR\uninstall.exe"

  ; The same keys the program itself writes (app/FileAssociation.cpp).
  WriteRegStr HKCU "Software\Classes\.stg" "" "TORVAfile"
  WriteRegStr HKCU "Software\Classes\TORVAfile" "" "TORVA 大会ファイル"
  WriteRegStr HKCU "Software\Classes\TORVAfile\DefaultIcon" "" '"$INSTDIR\torva.exe",1'
  WriteRegStr HKCU "Software\Classes\TORVAfile\shell\open\command" "" '"$INSTDIR\torva.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "TORVA ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\torva.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: what the user keeps there stays.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\TORVA\TORVA.lnk"
  Delete "$SMPROGRAMS\TORVA\TORVA マニュアル.lnk"
  Delete "$SMPROGRAMS\TORVA\TORVA のアンインストール.lnk"
  RMDir "$SMPROGRAMS\TORVA"

  ; The association only while it is still this program's.
  ReadRegStr $0 HKCU "Software\Classes\.stg" ""
  StrCmp $0 "TORVAfile" 0 +2
  DeleteRegKey HKCU "Software\Classes\.stg"
  DeleteRegKey HKCU "Software\Classes\TORVAfile"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
