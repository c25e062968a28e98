; Tarvendel's setup program: a per-user install that needs no administrator
; rights, into %LOCALAPPDATA%\Programs\Tarvendel, with a Start-menu shortcut
; and an entry in "Apps" (the per-user uninstall key).
;
; Built by the package-windows target (cmake/Packaging.cmake):
;   makensis -DVERSION=1.32 -DFILES=<folder> -DICON=<.ico> -DOUTFILE=<setup.exe> Tarvendel.nsi
; where <folder> holds Tarvendel.exe, README.txt and LICENSE.txt.
;
; Setup:        /S silent, /D=<folder> another install folder (last, unquoted).
;   An installation in another folder is uninstalled first (data kept).
; Uninstall.exe: /S silent. The reminders (the data folder) and the settings
;   stay unless the box on the uninstaller's second page is ticked or, in
;   silent mode, /REMOVEDATA is given.
;
; Exit codes besides 0: 2 Tarvendel is running; 3 the earlier installation
; in another folder could not be removed; 4 Tarvendel.exe could not be
; removed (the uninstall entry is kept then).

; The program is 64-bit only, and so is the Wine that tests this.
Target amd64-unicode
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include StrFunc.nsh
${StrStr}
${UnStrStr}

!macro Require NAME
  !ifndef ${NAME}
    !error "Give ${NAME} with -D${NAME}=... (see the top of this file)"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require FILES
!insertmacro Require ICON
!insertmacro Require OUTFILE

!define PUBLISHER "Tarvendel developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvendel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the program keeps its settings and reminders (it makes both itself).
!define SETTINGS_KEY "Software\Pellix Freeware\Tarvendel"
!define SETTINGS_PARENT "Software\Pellix Freeware"
!define DATA_FOLDER "$APPDATA\PellixFreeware\Tarvendel"
!define DATA_PARENT "$APPDATA\PellixFreeware"
; Held by the program while its window is open, and by every running
; Tarvendel from its first moment to its last (see app/OneWindow.cpp).
!define WINDOW_MUTEX "Local\PellixFreeware.Tarvendel.MainWindow"
!define PROCESS_MUTEX "Local\PellixFreeware.Tarvendel.Process"
; Each user's unlock-and-wake task is named with the user's SID.
!define TASK_PREFIX "Tarvendel-"

Name "Tarvendel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvendel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "Tarvendel ${VERSION}"
ShowInstDetails hide
ShowUninstDetails hide

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Tarvendel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Tarvendel ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}.0.0"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tarvendel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tarvendel now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your reminders (Tarvendel.dat) and settings are kept, so that a later install finds them. Tick the second box to remove them as well."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Tarvendel" SecProgram
    SectionIn RO
    Call RemoveInstallationElsewhere
    SetOutPath "$INSTDIR"
    File "${FILES}\Tarvendel.exe"
    File "${FILES}\README.txt"
    File "${FILES}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Tarvendel.lnk" "$INSTDIR\Tarvendel.exe" "" \
        "$INSTDIR\Tarvendel.exe" 0 SW_SHOWNORMAL "" "Reminders of special days and annual events"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarvendel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvendel.exe,0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as "Apps" shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.Tarvendel" UnSecProgram
    SectionIn RO
    ; First the program: one that cannot be removed must not lose its entry
    ; in "Apps", the one way left to uninstall it.
    Delete "$INSTDIR\Tarvendel.exe"
    ${If} ${FileExists} "$INSTDIR\Tarvendel.exe"
        MessageBox MB_OK|MB_ICONSTOP \
            "Tarvendel.exe in $INSTDIR could not be removed: another program may be using it. Close it, then uninstall again." \
            /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
    ; The program writes this value and the task itself when "Run at startup"
    ; is on, and the alert task while a timed reminder lies ahead; left
    ; behind, Windows would try to start a missing file at every login,
    ; unlock and wake, and at the next reminder's time.
    DeleteRegValue HKCU "${RUN_KEY}" "Tarvendel"
    Call un.UserSid
    ${If} $R9 != ""
        nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_PREFIX}$R9" /F'
        Pop $0
        nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_PREFIX}Alert-$R9" /F'
        Pop $0
        ; Earlier versions had one task for the whole computer: removed only
        ; when it runs as this user, for another user's is theirs.
        nsExec::ExecToStack '"$SYSDIR\schtasks.exe" /Query /TN Tarvendel /XML ONE'
        Pop $0
        Pop $1
        ${If} $0 == 0
            ${UnStrStr} $2 $1 "<UserId>$R9</UserId>"
            ${If} $2 != ""
                nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN Tarvendel /F'
                Pop $0
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Delete "$SMPROGRAMS\Tarvendel.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only if empty: files the user put there stay.
    RMDir "$INSTDIR"
SectionEnd

Section /o "un.Remove my reminders and settings too" UnSecData
    RMDir /r "${DATA_FOLDER}"
    RMDir "${DATA_PARENT}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
SectionEnd

; Files of a running program cannot all be replaced or removed, and its
; window would save over what is left: ask the user to close it first. Run
; silently, end with exit code 2 instead. A guard made by a process with
; other rights than this one's cannot be opened (ERROR_ACCESS_DENIED), but
; it is there all the same.
!macro CloseTarvendelFirst UN
Function ${UN}GuardHeld
    Exch $R0
    Push $R1
    Push $R2
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w R0) p .R1 ?e'
    Pop $R2
    ${If} $R1 != 0
        System::Call 'kernel32::CloseHandle(p R1)'
        StrCpy $R0 1
    ${ElseIf} $R2 = 5
        StrCpy $R0 1
    ${Else}
        StrCpy $R0 0
    ${EndIf}
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

Function ${UN}CloseTarvendelFirst
    ${Do}
        Push "${PROCESS_MUTEX}"
        Call ${UN}GuardHeld
        Pop $0
        ; Versions before the process guard hold only the window's.
        Push "${WINDOW_MUTEX}"
        Call ${UN}GuardHeld
        Pop $1
        ${If} $0 == 0
        ${AndIf} $1 == 0
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Tarvendel is running. Please close it first, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
      retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro CloseTarvendelFirst ""
!insertmacro CloseTarvendelFirst "un."

Function .onInit
    Call CloseTarvendelFirst
FunctionEnd

; Installed before into another folder: that copy would stay in "Apps", go
; on being started at login, and be left behind for good. It is uninstalled
; first, keeping the reminders and settings; the start-up entry follows the
; program to its new folder (the unlock-and-wake task comes back at the next
; OK in Setup, which shows the box ticked from the entry).
Function RemoveInstallationElsewhere
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${OrIf} $0 == $INSTDIR
    ${OrIfNot} ${FileExists} "$0\Uninstall.exe"
        Return
    ${EndIf}
    ReadRegStr $1 HKCU "${RUN_KEY}" "Tarvendel"
    ClearErrors
    ; _?= runs it in place, so that this waits for it and gets its result.
    ExecWait '"$0\Uninstall.exe" /S _?=$0' $2
    ${If} ${Errors}
    ${OrIf} $2 != 0
    ${OrIf} ${FileExists} "$0\Tarvendel.exe"
        MessageBox MB_OK|MB_ICONSTOP \
            "Tarvendel is installed in $0 and could not be removed from there. Uninstall it from Apps first, then run this setup again." \
            /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    ; Run in place, the uninstaller cannot remove itself.
    Delete "$0\Uninstall.exe"
    RMDir "$0"
    ${If} $1 != ""
        ${StrStr} $3 "$INSTDIR" " "
        ${If} $3 == ""
            WriteRegStr HKCU "${RUN_KEY}" "Tarvendel" '$INSTDIR\Tarvendel.exe RUN'
        ${Else}
            WriteRegStr HKCU "${RUN_KEY}" "Tarvendel" '"$INSTDIR\Tarvendel.exe" RUN'
        ${EndIf}
    ${EndIf}
FunctionEnd

; The current user's SID as text in $R9, or "" when it cannot be read.
Function un.UserSid
    StrCpy $R9 ""
    ; TOKEN_QUERY on the current process's token (the pseudo-handle -1).
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    ${If} $0 == 0
        Return
    ${EndIf}
    System::Alloc 256
    Pop $2
    ; TokenUser: a TOKEN_USER, whose first member points to the SID.
    System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r2, i 256, *i .r3) i .r0'
    ${If} $0 != 0
        System::Call '*$2(p .r4)'
        System::Call 'advapi32::ConvertSidToStringSidW(p r4, *p .r5) i .r0'
        ${If} $0 != 0
            System::Call '*$5(&w256 .R9)'
            System::Call 'kernel32::LocalFree(p r5)'
        ${EndIf}
    ${EndIf}
    System::Free $2
    System::Call 'kernel32::CloseHandle(p r1)'
FunctionEnd

Function un.onInit
    Call un.CloseTarvendelFirst
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecData}
    ${EndIf}
FunctionEnd
