; The per-user Windows installer. scripts/package builds it:
;   makensis -DVERSION=1.1.0 -DEXE=path/to/quorvex.exe -DOUTFILE=setup.exe -DICON=icon.ico
;            -DLICENSE=LICENSE.txt -DNOTICES=THIRD-PARTY-NOTICES.txt [-DAMD64] installer/quorvex.nsi
; AMD64 makes a 64-bit installer, for machines whose Wine runs no 32-bit programs.
; The results file, quorvexresults.txt, lives beside the program and belongs to the user: the
; installer never writes it and the uninstaller never deletes it, nor the folder holding it.

!ifndef VERSION | EXE | OUTFILE | ICON | LICENSE | NOTICES
    !error "VERSION, EXE, OUTFILE, ICON, LICENSE and NOTICES must be defined"
!endif

!ifdef AMD64
    Target amd64-unicode
!else
    Unicode true
!endif

!define PRODUCT "Quorvex"
!define PUBLISHER "Tollick's"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; Per user: no elevation, so the program's folder stays writable by the user who saves there.
RequestExecutionLevel user
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the earlier version is, wherever the user put it.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be written is retried or the whole install cancelled, never skipped: a
; skipped file would leave an old program beside new pieces.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright © ${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!include "MUI2.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running program keeps its executable open, and Windows refuses to open a running
; executable for writing. So the program counts as running exactly when its file cannot be
; opened for writing, whatever its windows are called, and the check stays true to what the
; replacement or removal needs. Retry checks again; Cancel (also the answer in a silent run)
; aborts before anything has changed, which ends a silent run with exit code 2.
!macro WAIT_WHILE_RUNNING PREFIX
    Function ${PREFIX}WaitWhileRunning
        retry:
        IfFileExists "$INSTDIR\quorvex.exe" 0 free
        ClearErrors
        ; Mode "a" opens for reading and writing without truncating anything.
        FileOpen $0 "$INSTDIR\quorvex.exe" a
        IfErrors 0 open
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} is running from$\r$\n$INSTDIR$\r$\n$\r$\nClose it, then press Retry." \
            /SD IDCANCEL IDRETRY retry
        Abort "${PRODUCT} is still running; nothing was changed."
        open:
        FileClose $0
        free:
    FunctionEnd
!macroend
!insertmacro WAIT_WHILE_RUNNING ""
!insertmacro WAIT_WHILE_RUNNING "un."

Section "Program" SecProgram
    SectionIn RO
    Call WaitWhileRunning
    SetOutPath "$INSTDIR"
    File "/oname=quorvex.exe" "${EXE}"
    ; The licence and the notices of the runtime linked into the program go with every copy.
    File "/oname=LICENSE.txt" "${LICENSE}"
    File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut starts the program in its own folder, beside its results file.
    CreateShortcut "${SHORTCUT}" "$INSTDIR\quorvex.exe" "" "$INSTDIR\quorvex.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvex.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Call un.WaitWhileRunning
    Delete "$INSTDIR\quorvex.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only an empty folder goes: one still holding the results file, or anything else of the
    ; user's, stays.
    RMDir "$INSTDIR"
SectionEnd
