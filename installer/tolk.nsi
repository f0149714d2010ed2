; The setup program of ZENTOR Tolk (NSIS 3, Unicode), made by installer/CMakeLists.txt with
;
;   makensis -NOCD -DVERSION=1.28.0 -DVERSION4=1.28.0.0 -DTARGET=x86-unicode -DICON=<program.ico>
;            -DINSTALL_NSH=<install_files.nsh> -DUNINSTALL_NSH=<uninstall_files.nsh>
;            -DOUTFILE=<ZENTOR-Tolk-1.28.0-setup.exe> -DHOST_TITLE=<...> -DHOST_MUTEX=<...>
;            -DCFG_TITLE=<...> -DCFG_MUTEX=<...> tolk.nsi
;
; The four names are how the setup finds the running programs to close them: their main windows'
; titles and their single-instance mutexes, which the build reads from link/LinkNames.h, where the
; programs take them from.
; TARGET is x86-unicode for what we ship and amd64-unicode for the 64-bit test build: the same
; script. The two .nsh files come from the build's list of shipped files (ShippedFiles.cmake), so
; the setup installs and the uninstaller removes exactly the files that the zip holds.
;
; What it does, for the user who runs it (no administrator rights asked):
;   - closes TolkCfg and TolkHid when they run (an upgrade), the way their own Exit does
;   - copies the shipped files into $LOCALAPPDATA\Programs\ZENTOR Tolk, over an older version;
;     config.ini, config\ and whatever else the user has there stay as they are
;   - the Start menu entry "ZENTOR Tolk" (TolkCfg, in a folder of the same name), TolkHid at log-on
;     (HKCU ...\Run), the entry in Apps & features (HKCU ...\Uninstall\ZENTOR Tolk), uninstall.exe
;   - starts TolkHid
;
; Command line of the setup:
;   /S          silent: no window, no question
;   /D=<folder> another install folder (last on the line, without quotes, as NSIS reads it)
; Command line of uninstall.exe:
;   /S          silent: keeps the user's data unless /REMOVEDATA is given
;   /REMOVEDATA also removes config.ini, config\ and everything else in the install folder, and the
;               folder itself (without it, an interactive uninstall asks)
; Exit codes (setup, and uninstall.exe when run with _?=<install folder> so that it is waited for):
;   0 done; 1 cancelled by the user; 2 stopped: TolkHid or TolkCfg did not close within
;   CLOSE_WAIT_S seconds, a file could not be replaced, or the chosen folder belongs to something else.

!ifndef VERSION | VERSION4 | TARGET | ICON | INSTALL_NSH | UNINSTALL_NSH | OUTFILE | HOST_TITLE | HOST_MUTEX | CFG_TITLE | CFG_MUTEX
  !error "tolk.nsi is made by the build: see installer/CMakeLists.txt for the defines it needs"
!endif

Target ${TARGET}

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${INSTALL_NSH}"
!include "${UNINSTALL_NSH}"

!define PRODUCT "ZENTOR Tolk"
!define PUBLISHER "ZENTOR"
!define REG_UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZENTOR Tolk"
!define REG_RUN "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "ZENTOR Tolk"
!define SHORTCUT_FOLDER "$SMPROGRAMS\ZENTOR Tolk"
!define SHORTCUT "${SHORTCUT_FOLDER}\ZENTOR Tolk.lnk"

!define SYNCHRONIZE 0x00100000
; The host's own shut-down waits up to 10 s for its device thread; a program that is still there
; after this long is not ending by itself.
!define CLOSE_WAIT_S 30
!define /math CLOSE_WAIT_MS ${CLOSE_WAIT_S} * 1000
!define CLOSE_POLL_MS 100

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; Both programs write their data beside themselves (config.ini, config\, profile files, logs), so
; the folder must be the user's to write: under Program Files they would need administrator rights
; for every change, or Windows would quietly redirect their writes into the VirtualStore. The
; per-user programs folder is writable without either and is where per-user programs belong.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\ZENTOR Tolk"
; An upgrade goes where the installed version is.
InstallDirRegKey HKCU "${REG_UNINSTALL}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${VERSION4}
VIFileVersion ${VERSION4}

Var CloseTitle    ; the program to close: its main window's title,
Var CloseMutex    ; its single-instance mutex,
Var CloseExe      ; its file in the install folder,
Var CloseWhat     ; what the user calls it,
Var CloseHint     ; and how the user ends it when it does not end by itself
Var RemoveData    ; uninstaller: 1 when the user's data goes too

; Pages ----------------------------------------------------------------------------------------
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveDirectoryPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\TolkCfg.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open the ZENTOR Tolk configuration"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ZENTOR"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; Closing the programs ---------------------------------------------------------------------------
; Both the setup and the uninstaller need it, and NSIS keeps their functions apart ("un." prefix).
!macro TOLK_CLOSE_FUNCTIONS un
; Closes the program that $CloseTitle, $CloseMutex and $CloseExe name, as its own Exit does: a
; WM_CLOSE to its main window, found by its title (each program ends with that window). Then waits
; until its mutex is gone (the program has let go of its single-instance name, which it does last)
; and its file in the install folder can be opened for writing (the process has ended and Windows no
; longer holds the file). A program that is not running passes at once. After CLOSE_WAIT_S seconds
; the user is asked to close it and retry; a silent run stops with exit code 2.
Function ${un}CloseProgram
  Push $0   ; the window found by its title
  Push $1   ; the window last sent WM_CLOSE
  Push $2   ; the mutex, when it exists
  Push $3   ; milliseconds waited
  Push $4   ; the program file, opened to see that it is free
  retry:
  StrCpy $1 0
  StrCpy $3 0
  loop:
    FindWindow $0 "" "$CloseTitle"
    ; Once per window: the program may take a while to shut down, and a second WM_CLOSE brings
    ; nothing. A new window of the same title (the program started again meanwhile) gets its own.
    ${If} $0 <> 0
    ${AndIf} $0 <> $1
      DetailPrint "Closing $CloseWhat"
      System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
      StrCpy $1 $0
    ${EndIf}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "$CloseMutex") p .r2'
    ${If} $2 P<> 0
      System::Call 'kernel32::CloseHandle(p r2)'
    ${ElseIfNot} ${FileExists} "$CloseExe"
      Goto closed
    ${Else}
      ClearErrors
      FileOpen $4 "$CloseExe" a
      ${IfNot} ${Errors}
        FileClose $4
        Goto closed
      ${EndIf}
    ${EndIf}
    ${If} $3 >= ${CLOSE_WAIT_MS}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$CloseWhat is still running and did not close within ${CLOSE_WAIT_S} seconds.$\r$\n$\r$\n$CloseHint Then choose Retry, or Cancel to stop." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort "$CloseWhat did not close within ${CLOSE_WAIT_S} seconds; nothing was changed."
    ${EndIf}
    Sleep ${CLOSE_POLL_MS}
    IntOp $3 $3 + ${CLOSE_POLL_MS}
    Goto loop
  closed:
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; TolkCfg first: it talks to the host, the host never waits for it.
Function ${un}CloseTolkPrograms
  StrCpy $CloseTitle "${CFG_TITLE}"
  StrCpy $CloseMutex "${CFG_MUTEX}"
  StrCpy $CloseExe "$INSTDIR\TolkCfg.exe"
  StrCpy $CloseWhat "The ZENTOR Tolk configuration (TolkCfg)"
  ; Its main window ends what it has open (a warning, the macro manager, a menu, a file window) as
  ; Cancel, then the program: only a configuration that hangs keeps running.
  StrCpy $CloseHint "Close its window, or end it with the Task Manager if it does not answer."
  Call ${un}CloseProgram
  StrCpy $CloseTitle "${HOST_TITLE}"
  StrCpy $CloseMutex "${HOST_MUTEX}"
  StrCpy $CloseExe "$INSTDIR\TolkHid.exe"
  StrCpy $CloseWhat "The ZENTOR Tolk keyboard program (TolkHid)"
  StrCpy $CloseHint "End it with Exit in the menu of its tray icon."
  Call ${un}CloseProgram
FunctionEnd
!macroend
!insertmacro TOLK_CLOSE_FUNCTIONS ""
!insertmacro TOLK_CLOSE_FUNCTIONS "un."

; The install folder ----------------------------------------------------------------------------
; The folder becomes the programs' own: the uninstaller's "remove my data too" empties it whole. So
; it must be new, empty or an earlier install, never a folder of other files (nor a drive's root,
; which NSIS itself refuses: AllowRootDirInstall is off, and /D=C:\ gets "C:\ZENTOR Tolk"). An
; earlier install has TolkHid.exe, or, uninstalled with the user's data kept, the config.ini that
; the programs write (the host its device state and profile slot, TolkCfg the profile names).
; $0: empty when the folder will do, else why not.
; ${If} ${HasTolkData} <folder>: the folder's config.ini is one the programs wrote.
!macro _HasTolkData _a _folder _t _f
  !insertmacro _LOGICLIB_TEMP
  ReadINIStr $_LOGICLIB_TEMP "${_folder}\config.ini" "Setting" "CurrentProfile"
  StrCmp $_LOGICLIB_TEMP "" 0 +4
  ReadINIStr $_LOGICLIB_TEMP "${_folder}\config.ini" "Setting" "Device"
  StrCmp $_LOGICLIB_TEMP "" 0 +2
  ReadINIStr $_LOGICLIB_TEMP "${_folder}\config.ini" "FileName" "Profile1"
  StrCmp $_LOGICLIB_TEMP "" `${_f}` `${_t}`
!macroend
!define HasTolkData `"" HasTolkData`

Function CheckInstallFolder
  Push $1
  Push $2
  StrCpy $0 ""
  ${If} ${FileExists} "$INSTDIR\*.*"
  ${AndIfNot} ${FileExists} "$INSTDIR\TolkHid.exe"
  ${AndIfNot} ${HasTolkData} "$INSTDIR"
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${DoWhile} $2 != ""
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        StrCpy $0 "$INSTDIR already holds other files.$\r$\nChoose an empty folder, a new one, or the folder of an earlier ZENTOR Tolk."
        ${Break}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

Function LeaveDirectoryPage
  Push $0
  Call CheckInstallFolder
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0"
    Pop $0
    Abort
  ${EndIf}
  Pop $0
FunctionEnd

; Install ----------------------------------------------------------------------------------------
Section "ZENTOR Tolk" SecProgram
  SectionIn RO
  ; The directory page checks an interactive choice; /D= in a silent run comes only here.
  Call CheckInstallFolder
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
    SetErrorLevel 2
    Abort "$0"
  ${EndIf}

  Call CloseTolkPrograms

  ; The shipped files and nothing else: config.ini, config\ and the user's other files are not in
  ; the list, so an upgrade leaves them as they are.
  ClearErrors
  !insertmacro TOLK_INSTALL_FILES
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Some files of ZENTOR Tolk could not be written into $INSTDIR.$\r$\nClose every program that uses them and run the setup again." /SD IDOK
    SetErrorLevel 2
    Abort "Some files could not be written."
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${SHORTCUT_FOLDER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\TolkCfg.exe" "" "$INSTDIR\TolkCfg.exe" 0

  WriteRegStr HKCU "${REG_RUN}" "${RUN_VALUE}" '"$INSTDIR\TolkHid.exe"'

  WriteRegStr HKCU "${REG_UNINSTALL}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${REG_UNINSTALL}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${REG_UNINSTALL}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${REG_UNINSTALL}" "DisplayIcon" "$INSTDIR\TolkCfg.exe,0"
  WriteRegStr HKCU "${REG_UNINSTALL}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${REG_UNINSTALL}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${REG_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; The shipped files alone, in KiB: the user's data grows on its own.
  WriteRegDWORD HKCU "${REG_UNINSTALL}" "EstimatedSize" ${TOLK_SHIPPED_KB}
  WriteRegDWORD HKCU "${REG_UNINSTALL}" "NoModify" 1
  WriteRegDWORD HKCU "${REG_UNINSTALL}" "NoRepair" 1

  ; The host runs from now on, as it will at every log-on.
  Exec '"$INSTDIR\TolkHid.exe"'
SectionEnd

; Uninstall --------------------------------------------------------------------------------------
Section "Uninstall"
  StrCpy $RemoveData 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveData 1
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your ZENTOR Tolk profiles, macros, timers and settings as well?$\r$\n$\r$\nThey are kept in $INSTDIR (config.ini and the config folder). Choose No to keep them for a later install." /SD IDNO IDNO keep_data
    StrCpy $RemoveData 1
    keep_data:
  ${EndIf}

  Call un.CloseTolkPrograms

  !insertmacro TOLK_UNINSTALL_FILES
  Delete "$INSTDIR\uninstall.exe"

  Delete "${SHORTCUT}"
  RMDir "${SHORTCUT_FOLDER}"

  ; The log-on entry only when it starts this copy.
  ReadRegStr $0 HKCU "${REG_RUN}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\TolkHid.exe"'
    DeleteRegValue HKCU "${REG_RUN}" "${RUN_VALUE}"
  ${EndIf}

  ${If} $RemoveData = 1
    ; The setup installs only into a folder of its own (CheckInstallFolder), so all of it is ours.
    ${GetRoot} "$INSTDIR" $1
    ${If} "$INSTDIR" != "$1"
    ${AndIf} "$INSTDIR" != "$1\"
      RMDir /r "$INSTDIR"
    ${EndIf}
  ${Else}
    ; Gone only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
  ${EndIf}

  DeleteRegKey HKCU "${REG_UNINSTALL}"
SectionEnd
