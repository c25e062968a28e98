; Tarvendel's setup program: a per-user install that needs no administrator
; rights, into %LOCALAPPDATA%\Programs\Tarvendel, with a Start-menu shortcut
; and an entry in "Apps" (the per-user uninstall key).
;
; Built by the package-windows target (cmake/Packaging.cmake):
;   makensis -DVERSION=1.32 -DFILES=<folder> -DICON=<.ico> -DOUTFILE=<setup.exe> Tarvendel.nsi
; where <folder> holds Tarvendel.exe, README.txt and LICENSE.txt.
;
; Setup:        /S silent, /D=<folder> another install folder (last, unquoted).
; Uninstall.exe: /S silent. The reminders (the data folder) and the settings
;   stay unless the box on the uninstaller's second page is ticked or, in
;   silent mode, /REMOVEDATA is given.

; The program is 64-bit only, and so is the Wine that tests this.
Target amd64-unicode
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

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
; Held by the program while its window is open (see app/OneWindow.cpp).
!define WINDOW_MUTEX "Local\PellixFreeware.Tarvendel.MainWindow"

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
    ; The program writes this value and the task itself when "Run at startup"
    ; is on; left behind, Windows would try to start a missing file at every
    ; login, unlock and wake.
    DeleteRegValue HKCU "${RUN_KEY}" "Tarvendel"
    nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN Tarvendel /F'
    Pop $0
    Delete "$SMPROGRAMS\Tarvendel.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Delete "$INSTDIR\Tarvendel.exe"
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
; silently, end with exit code 2 instead.
!macro CloseTarvendelFirst UN
Function ${UN}CloseTarvendelFirst
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${WINDOW_MUTEX}") p .r0'
        ${If} $0 == 0
            Return
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
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

Function un.onInit
    Call un.CloseTarvendelFirst
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecData}
    ${EndIf}
FunctionEnd
