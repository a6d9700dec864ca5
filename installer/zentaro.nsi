; Setup of the Zentaro suite: installs for the current user without administrator rights.
; The build defines ARCH (win64 or win32), VERSION ("2.01"), VERSION_QUAD ("2.1.0.0"),
; FILE_LIST (the File/Delete lines of the installed tree), OUTFILE and ICON.
;
; Command line (besides /S for a silent run and /D=folder, which must come last):
;   setup:       /STARTWITHWINDOWS  start the clock when the user logs on (the finish page's box)
;                /RUN               start the clock when a silent install ends (a clock that was
;                                   running before a silent upgrade is started again anyway)
;   uninstaller: /REMOVESETTINGS    also remove the settings and alarms (kept otherwise, also
;                                   by a silent uninstall)

!if "${ARCH}" == "win64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh
!include "${FILE_LIST}"

!define PRODUCT "Zentaro"
!define PUBLISHER "The Zentaro developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentaro"
!define SETTINGS_KEY "Software\Zentaro"
!define OPTION_KEY "Software\Zentaro\Option"
; The clock's own start-with-Windows value, as its options dialog writes it.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tickora"
!define AUTORUN_VALUE "AutoRun"
; The clock's main window; asked to close through it, as the clock's own Exit does.
!define CLOCK_CLASS "frmMain"
!define CLOCK_TITLE "Zentaro"
!define CLOCK_CLOSE_TIMEOUT_MS 15000
!define SYNCHRONIZE 0x00100000
!define WAIT_TIMEOUT 0x102

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var ClockWasRunning
Var StartWithWindowsAsked
Var RunAsked

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock
; The second box of the finish page is "Start with Windows"; its state is applied when the
; page is left (ticked or not), so the page's own call when ticked has nothing left to do.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start with Windows"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartWithWindowsApplied
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeave
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!macro DefineShared un
; Pops a program path and pushes the command that starts it, exactly as the clock's options
; dialog writes it: quoted only when the path holds a space.
Function ${un}QuoteIfSpaced
  Exch $0          ; text
  Push $1
  Push $2
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 1 $1
    ${If} $2 == ""
      ${Break}
    ${ElseIf} $2 == " "
      StrCpy $0 '"$0"'
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Asks a running clock to close through its window (WM_CLOSE, as its Exit does) and waits
; for its process to end, since Windows keeps a running program's file in use. Sets
; $ClockWasRunning. A clock that does not close in time is left running: the user is asked
; to close it, and a silent run gives up.
Function ${un}CloseClock
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $ClockWasRunning 0
  retry:
  FindWindow $0 "${CLOCK_CLASS}" "${CLOCK_TITLE}"
  ${If} $0 = 0
    Goto done
  ${EndIf}
  StrCpy $ClockWasRunning 1
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
  System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
  System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0) i'
  StrCpy $3 "closed"
  ${If} $2 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${CLOCK_CLOSE_TIMEOUT_MS}) i .r1'
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $1 = ${WAIT_TIMEOUT}
      StrCpy $3 "running"
    ${EndIf}
  ${Else}
    ; No handle to wait on: wait for the window to go instead.
    StrCpy $1 0
    wait_window:
    IsWindow $0 0 window_gone
    ${If} $1 >= ${CLOCK_CLOSE_TIMEOUT_MS}
      StrCpy $3 "running"
    ${Else}
      Sleep 100
      IntOp $1 $1 + 100
      Goto wait_window
    ${EndIf}
    window_gone:
  ${EndIf}
  ${If} $3 == "running"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    Abort "${PRODUCT} is still running."
  ${EndIf}
  Goto retry   ; a second clock would be closed as well
  done:
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DefineShared ""
!insertmacro DefineShared "un."

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTWITHWINDOWS" $1
  ${IfNot} ${Errors}
    StrCpy $StartWithWindowsAsked 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/RUN" $1
  ${IfNot} ${Errors}
    StrCpy $RunAsked 1
  ${EndIf}
!if "${ARCH}" == "win64"
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "This setup is for 64-bit Windows. Use zentaro-setup-win32.exe." /SD IDOK
    Abort
  ${EndIf}
!endif
FunctionEnd

Section "-Programs"
  SetShellVarContext current
  Call CloseClock
  !insertmacro InstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zentaro.exe" "" "$INSTDIR\zentaro.exe" 0
  CreateShortcut "$SMPROGRAMS\Vitaro.lnk" "$INSTDIR\vitaro.exe" "" "$INSTDIR\vitaro.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zentaro.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ${If} ${Silent}
    ${If} $StartWithWindowsAsked = 1
      Push 1
      Call SetStartWithWindows
    ${EndIf}
    ${If} $RunAsked = 1
    ${OrIf} $ClockWasRunning = 1
      Call StartClock
    ${EndIf}
  ${EndIf}
SectionEnd

Function StartClock
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\zentaro.exe"'
FunctionEnd

; Pops 1 or 0: writes or removes the clock's Run value, and keeps the clock's own option in
; step so its options dialog shows the same state.
Function SetStartWithWindows
  Exch $0
  Push $1
  ${If} $0 = 1
    StrCpy $1 "$INSTDIR\zentaro.exe"
    Push $1
    Call QuoteIfSpaced
    Pop $1
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$1"
    WriteRegDWORD HKCU "${OPTION_KEY}" "${AUTORUN_VALUE}" 1
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    WriteRegDWORD HKCU "${OPTION_KEY}" "${AUTORUN_VALUE}" 0
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Function FinishPageShow
  ; Ticked when asked on the command line or when the clock already starts with Windows.
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $StartWithWindowsAsked = 1
  ${OrIfNot} ${Errors}
    SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} ${BST_CHECKED} 0
  ${EndIf}
FunctionEnd

Function FinishPageLeave
  ClearErrors
  ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} ${Errors}
    StrCpy $1 0
  ${Else}
    StrCpy $1 1
  ${EndIf}
  SendMessage $mui.FinishPage.ShowReadme ${BM_GETCHECK} 0 0 $0
  ${If} $0 = ${BST_CHECKED}
    Push 1
    Call SetStartWithWindows
  ${ElseIf} $1 = 1
    Push 0
    Call SetStartWithWindows
  ${EndIf}
FunctionEnd

Function StartWithWindowsApplied
FunctionEnd

Section "-un.Programs"
  SetShellVarContext current
  Call un.CloseClock
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\Vitaro.lnk"

  ; The clock removes its wake task when it ends; one left by a clock that did not end
  ; normally goes here. The task is named after the user, as the clock names it.
  System::Call 'advapi32::GetUserName(t .r0, *i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 <> 0
    nsExec::Exec 'schtasks.exe /Delete /TN "Zentaro wake ($0)" /F'
    Pop $1
  ${EndIf}

  ; The Run value goes wherever it points here; the options dialog writes the machine's when
  ; it may, and removing that one succeeds only with the rights to write it.
  StrCpy $1 "$INSTDIR\zentaro.exe"
  Push $1
  Call un.QuoteIfSpaced
  Pop $1
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == $1
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ; Kept settings then agree with the Run value being gone.
  ClearErrors
  ReadRegDWORD $0 HKCU "${OPTION_KEY}" "${AUTORUN_VALUE}"
  ${IfNot} ${Errors}
    WriteRegDWORD HKCU "${OPTION_KEY}" "${AUTORUN_VALUE}" 0
  ${EndIf}
SectionEnd

; The clock keeps its settings and alarms under HKCU\Software\Zentaro; the break settings and
; the birth date live in stop.ini beside the programs.
Section /o "un.Also remove my settings and alarms" SecRemoveSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  Delete "$INSTDIR\stop.ini"
SectionEnd

Section "-un.Finish"
  RMDir "$INSTDIR"
  ; Last, so a caller can wait for the uninstall to end by watching this key go.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecRemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
