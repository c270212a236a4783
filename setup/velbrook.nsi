; The setup program of Velbrook, built by makensis from the build (setup/CMakeLists.txt).
; The build passes:
;   TARGET     x86-unicode for the shipped 32-bit setup, amd64-unicode for a 64-bit test build
;   VERSION    the product's one version number, a.b.c.d
;   FILES_NSH  an include with one File line per program file
;   ICON       the program's icon
;   WELCOME_BITMAP (optional) the welcome and finish pages' side picture, 164 x 314
;   OUTFILE    where the setup program is written
; /S installs or uninstalls silently; /D=FOLDER (last on the command line) picks the folder.

!ifndef TARGET | VERSION | FILES_NSH | ICON | OUTFILE
  !error "The build passes TARGET, VERSION, FILES_NSH, ICON and OUTFILE"
!endif

Target ${TARGET}
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Velbrook"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own key (settings and status values), written by the program itself in the
; 32-bit view in every build (the shipped program is 32-bit).
!define SETTINGS_KEY "SOFTWARE\${PRODUCT}"
!define LOGON_TASK "${PRODUCT} startups"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; The shipped program is 32-bit and belongs in the 32-bit Program Files folder; a 64-bit
; build of the same program goes into the 64-bit one.
!if ${NSIS_PTR_SIZE} > 4
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
; An update of an installed copy goes where that copy is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!ifdef WELCOME_BITMAP
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velbrook.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; CloseVelbrook: asks a running Velbrook's main window to exit the way its own update does (WM_CLOSE with both
; parameters 1; any other close only hides its window) and waits until it has let go of its
; files. A copy that stays open ends the setup with exit code 2 when silent; otherwise the user
; may close it and retry.
!macro DEFINE_CLOSE_VELBROOK un
Function ${un}CloseVelbrook
  Push $0
  Push $1
  Push $2
  StrCpy $1 0
  find:
    ; The main window is the one holding the header's Home button (id 1071), as the program and
    ; its install step find it: the new-startup alert and message boxes carry the same title.
    StrCpy $0 0
  next:
    FindWindow $0 "" "${PRODUCT}" "" $0
    ${If} $0 = 0
      Goto gone
    ${EndIf}
    GetDlgItem $2 $0 1071
    ${If} $2 = 0
      Goto next
    ${EndIf}
    SendMessage $0 ${WM_CLOSE} 1 1 /TIMEOUT=5000
    Sleep 250
    IntOp $1 $1 + 1
    IntCmp $1 40 0 find
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is running and did not close.$\r$\nClose it, then choose Retry." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  retry:
    StrCpy $1 0
    Goto find
  gone:
    ; The program holds its single-instance mutex until its process has ended.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${PRODUCT}") p.r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r0, i 10000) i.r2'
      ${If} $2 = 0
      ${OrIf} $2 = 0x80
        System::Call 'kernel32::ReleaseMutex(p r0)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_VELBROOK ""
!insertmacro DEFINE_CLOSE_VELBROOK "un."

Function .onInit
  SetShellVarContext all
FunctionEnd

; The program runs elevated from its folder: a folder chosen with /D= (below C:\, say) would
; keep rights that let every user change its files. It gets the rights of Program Files
; (SYSTEM and Administrators full control, Users read and run, nothing inherited), handed on
; to everything in it.
Function SecureInstallFolder
  Push $0
  Push $1
  Push $2
  Push $3
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", i 1, *p .r0, p 0) i.r1'
  ${If} $1 <> 0
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r0, *i .r2, *p .r3, *i .r1) i.r1'
    ; SE_FILE_OBJECT; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000004, p 0, p 0, p r3, p 0) i.r1'
    System::Call 'kernel32::LocalFree(p r0)'
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseVelbrook
  SetOutPath "$INSTDIR"
  Call SecureInstallFolder
  SetOverwrite on
  !include "${FILES_NSH}"
  ; A library that an update staged and the program never started to put in place is stale now.
  Delete "$INSTDIR\Renovix_s.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Velbrook.exe" "" "$INSTDIR\Velbrook.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velbrook.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Removes what the setup placed, the update's staged library and the logon task. Switched-off
; startup entries stay where they are, in the store of the system configuration tool and its
; backup folder, so that tool can still switch them back on.
Section "Uninstall"
  Call un.CloseVelbrook

  nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "${LOGON_TASK}" /F'
  Pop $0
  ; Where the scheduler keeps the tasks of its version 1 interface.
  Delete "$WINDIR\Tasks\${LOGON_TASK}.job"

  Delete "$INSTDIR\Velbrook.exe"
  Delete "$INSTDIR\Renovix.dll"
  Delete "$INSTDIR\Renovix_s.dll"
  Delete "$INSTDIR\velbrookc.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Keep your ${PRODUCT} history and ignore list?$\r$\n$\r$\nKeep them to find your fixes again when you install ${PRODUCT} later." \
    /SD IDYES IDYES keep
    RMDir /r "$APPDATA\${PRODUCT}"
    SetRegView 32
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    SetRegView default
  keep:
SectionEnd
