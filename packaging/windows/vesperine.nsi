; The Windows installer, in two modes as NSIS's MultiUser support offers them:
;   for all users     the saver in the 64-bit system folder, where Screen
;                     Saver Settings lists it for everyone, the uninstaller in
;                     Program Files, the Installed apps entry under HKLM;
;                     needs administrator rights
;   for the current   everything in %LOCALAPPDATA%\Programs\Vesperine, the
;   user only         entry under HKCU, no administrator rights
; The mode page asks which (only where the installer has administrator
; rights: otherwise it is the current user's); /AllUsers and /CurrentUser
; choose it on the command line. Either can make it the current user's
; screensaver.
; make_installer (packaging/windows/make_installer.in) builds it and defines
; VERSION, SCR (the stripped saver), NOTICES (the third-party notices), ICON,
; PUBLISHER, COPYRIGHT, WEBSITE, SUPPORT, OUTFILE and, when signing, SIGN
; (the command that signs a file named by %1 in place).

; 64-bit first: a 32-bit installer cannot write the real system32 unaided,
; and our Wine has no 32-bit side at all.
Target amd64-unicode

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperine"
!define DESKTOP_KEY "Control Panel\Desktop"

; Administrators are asked to elevate (as their own account); standard users
; run as themselves, and the mode page then does not come: theirs is the
; current-user mode.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Vesperine"
; An upgrade keeps the mode and the folder of the install before it.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION mode_chosen
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.mode_chosen

!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

Name "Vesperine"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; The files keep no build-time dates: two builds of one commit are the same.
SetDateSave off
ManifestDPIAware true
BrandingText "Vesperine ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vesperine"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vesperine Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!ifdef SIGN
  ; Run by makensis on each file as it is finished.
  !uninstfinalize '${SIGN}'
  !finalize '${SIGN}'
!endif

; Where this mode's saver goes.
Var Saver

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_INSTFILES
; Both options act when the page is left: the saver is chosen first, so the
; settings then open with Vesperine selected.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Use Vesperine as my screensaver"
!define MUI_FINISHPAGE_RUN_FUNCTION make_current_saver
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open Screen Saver Settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION open_saver_settings
!define MUI_PAGE_CUSTOMFUNCTION_SHOW finish_page_shown
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!macro saver_path
  ${If} $MultiUser.InstallMode == AllUsers
    StrCpy $Saver "$SYSDIR\Vesperine.scr"
  ${Else}
    StrCpy $Saver "$INSTDIR\Vesperine.scr"
  ${EndIf}
!macroend

Function mode_chosen
  !insertmacro saver_path
FunctionEnd

Function un.mode_chosen
  !insertmacro saver_path
FunctionEnd

Function .onInit
  SetRegView 64
  ; $SYSDIR is the real system32 from here on.
  ${DisableX64FSRedirection}
  !insertmacro MULTIUSER_INIT
FunctionEnd

; 1 in $R0 when this process runs as the user of the desktop session, 0 when
; it was elevated as another account (over-the-shoulder elevation: a
; standard user typed an administrator's password), whose HKCU and whose
; started programs are the administrator's, not the user's.
!macro session_is_ours
  StrCpy $R0 0
  System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i 5, *p .r1, *i .r2) i .r3'
  ${If} $3 <> 0
    System::Call '*$1(&w${NSIS_MAX_STRLEN} .r4)'
    System::Call 'wtsapi32::WTSFreeMemory(p r1)'
    System::Call 'advapi32::GetUserNameW(w .r5, *i ${NSIS_MAX_STRLEN})'
    ; StrCmp ignores case, as Windows does with account names.
    ${If} $4 == $5
      StrCpy $R0 1
    ${EndIf}
  ${EndIf}
!macroend

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

; Files of earlier versions put aside while in use, deleted where no longer.
!macro delete_put_aside folder
  Delete "${folder}\Vesperine.scr.*.old"
!macroend

; Writes a new file over `path`, whatever holds the old one. A running
; saver, its preview in Screen Saver Settings or the settings themselves keep
; the file open: it can then be neither written nor deleted, but it can be
; renamed. It goes aside under a name the settings do not list, and at the
; next restart (or the next install, where no restart can be booked: that
; needs administrator rights) it is deleted.
!macro put_aside_if_held path
  Delete "${path}"
  ${If} ${FileExists} "${path}"
    StrCpy $R1 0
    ${Do}
      IntOp $R1 $R1 + 1
    ${LoopWhile} ${FileExists} "${path}.$R1.old"
    Rename "${path}" "${path}.$R1.old"
    Delete /REBOOTOK "${path}.$R1.old"
    ; Nothing needs the restart now: the new file is in place.
    SetRebootFlag false
  ${EndIf}
!macroend

Section "Vesperine"
  ${DisableX64FSRedirection}
  CreateDirectory "$INSTDIR"
  ${GetParent} "$Saver" $R3
  !insertmacro delete_put_aside "$R3"
  !insertmacro put_aside_if_held "$Saver"
  SetOutPath "$R3"
  File "/oname=Vesperine.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; SHCTX: HKLM for all users, HKCU for the current user (the shell context).
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Vesperine"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$Saver,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "mailto:${SUPPORT}"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; Installed apps shows this in KiB: the saver, the notices, the uninstaller.
  !insertmacro file_bytes "$Saver" $0
  !insertmacro file_bytes "$INSTDIR\Uninstall.exe" $1
  IntOp $0 $0 + $1
  !insertmacro file_bytes "$INSTDIR\THIRD-PARTY-NOTICES.txt" $1
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; A silent install shows no finish page: it takes the option's default.
  ${If} ${Silent}
    Call make_current_saver
  ${EndIf}
SectionEnd

; The choice of saver and the settings belong to the user at the desktop:
; where this process is another account, the finish page does not offer them.
Function finish_page_shown
  !insertmacro session_is_ours
  ${If} $R0 = 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    ShowWindow $mui.FinishPage.ShowReadme ${SW_HIDE}
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} ${BST_UNCHECKED} 0
  ${EndIf}
FunctionEnd

Function make_current_saver
  !insertmacro session_is_ours
  ${If} $R0 = 1
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$Saver"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE, saved and broadcast: the running session
    ; learns of it without a new logon.
    System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)"
  ${EndIf}
FunctionEnd

Function open_saver_settings
  !insertmacro session_is_ours
  ${If} $R0 = 1
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  ${DisableX64FSRedirection}
  ; The mode is where this copy lives: the current user's entry names its
  ; folder, or it is the all-users copy. MultiUser reads a folder from the
  ; registry into $INSTDIR; this copy's own folder is the one to clear.
  StrCpy $R8 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $R8
    Call un.MultiUser.InstallMode.CurrentUser
  ${Else}
    Call un.MultiUser.InstallMode.AllUsers
    ${If} $MultiUser.InstallMode != AllUsers
      MessageBox MB_OK|MB_ICONSTOP "Removing Vesperine for all users needs administrator rights." /SD IDOK
      Quit
    ${EndIf}
  ${EndIf}
  StrCpy $INSTDIR $R8
  !insertmacro saver_path
FunctionEnd

Section "Uninstall"
  ${DisableX64FSRedirection}
  ; Only while the current user's screensaver is still ours: a saver chosen
  ; since then stays. The settings may hold the short form of the path.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$Saver"
  ${If} $0 == "$Saver"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${ElseIf} $1 != ""
  ${AndIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  ; A saver running just now is removed at the next restart.
  ${GetParent} "$Saver" $R3
  !insertmacro delete_put_aside "$R3"
  Delete /REBOOTOK "$Saver"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
