; The Windows installer. It puts Vesperine.scr into the 64-bit system folder,
; where Screen Saver Settings lists it for every user, registers it under
; Installed apps, and can make it the current user's screensaver.
; packaging/windows/CMakeLists.txt builds it and defines VERSION, SCR (the
; stripped saver), ICON, PUBLISHER, COPYRIGHT, WEBSITE and OUTFILE.

; 64-bit first: a 32-bit installer cannot write the real system32 unaided,
; and our Wine has no 32-bit side at all.
Target amd64-unicode

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperine"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "$SYSDIR\Vesperine.scr"

Name "Vesperine"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; Only the uninstaller lives here; the saver itself goes to the system folder.
InstallDir "$PROGRAMFILES64\Vesperine"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Vesperine ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vesperine"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vesperine Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
; Both options act when the page is left: the saver is chosen first, so the
; settings then open with Vesperine selected.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Use Vesperine as my screensaver"
!define MUI_FINISHPAGE_RUN_FUNCTION make_current_saver
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open Screen Saver Settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION open_saver_settings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; Size of a file in bytes, or 0 when it cannot be opened.
!macro file_bytes path result
  StrCpy ${result} 0
  ClearErrors
  FileOpen $R9 "${path}" r
  ${IfNot} ${Errors}
    FileSeek $R9 0 END ${result}
    FileClose $R9
  ${EndIf}
!macroend

Section "Vesperine"
  ; Files over an earlier install are replaced in place, keys rewritten.
  ${DisableX64FSRedirection}
  SetOutPath "$SYSDIR"
  File "/oname=Vesperine.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vesperine"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Installed apps shows this in KiB: the saver and the uninstaller.
  !insertmacro file_bytes "${SAVER}" $0
  !insertmacro file_bytes "$INSTDIR\Uninstall.exe" $1
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; A silent install shows no finish page: it takes the option's default.
  ${If} ${Silent}
    Call make_current_saver
  ${EndIf}
SectionEnd

Function make_current_saver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE, saved and broadcast: the running session learns
  ; of it without a new logon.
  System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)"
FunctionEnd

Function open_saver_settings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "Uninstall"
  ${DisableX64FSRedirection}
  ; Only while the current user's screensaver is still ours: a saver chosen
  ; since then stays. The settings may hold the short form of the path.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "${SAVER}"
  ${If} $0 == "${SAVER}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${ElseIf} $1 != ""
  ${AndIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  ; A saver running just now is removed at the next restart.
  Delete /REBOOTOK "${SAVER}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
