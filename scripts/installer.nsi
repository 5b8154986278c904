; The Vivivuz installer: a per-user install without administrator rights into the user's
; local programs folder, in Japanese. Built by scripts/release.sh, which defines
;   VERSION   the program's version ("1.03")
;   PROGRAM   the program file to ship
;   DATA      the shipped start folder (data/)
;   SHIPPED   an include file that deletes each shipped data file and folder (uninstall)
;   OUTFILE   the installer to write
; The install folder is also the start folder: the shortcuts start the program there,
; since it looks up its data in the current directory. The user's own files in it (the
; saved design, printer settings, list, added templates and pictures) survive a new
; install and, unless the user asks otherwise, the uninstall.

; A 64-bit installer for the 64-bit program.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vivivuz"

Name "Vivivuz ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vivivuz"
; An earlier install is updated where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vivivuz ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Vivivuz"
VIAddVersionKey /LANG=1041 "FileDescription" "Vivivuz ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Vivivuz"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Vivivuz を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
    SetShellVarContext current
FunctionEnd

; The program runs in its start folder, as from the shortcuts.
Function StartProgram
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Vivivuz.exe"'
FunctionEnd

Section "Vivivuz" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "/oname=Vivivuz.exe" "${PROGRAM}"
    ; The shipped start folder: templates, pictures, portrait parts, sheet pictures and the
    ; manual are replaced by this version's.
    File /r /x Vivivuz.dat /x Vivivuz.prt /x listview.ini "${DATA}/*.*"
    ; The sample design only where the user has no saved design yet.
    SetOverwrite off
    File "${DATA}/Vivivuz.dat"
    SetOverwrite on

    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; Shortcuts start the program in the start folder (the current output path).
    SetOutPath "$INSTDIR"
    CreateDirectory "$SMPROGRAMS\Vivivuz"
    CreateShortCut "$SMPROGRAMS\Vivivuz\Vivivuz.lnk" "$INSTDIR\Vivivuz.exe" "" "$INSTDIR\Vivivuz.exe" 0
    CreateShortCut "$SMPROGRAMS\Vivivuz\Vivivuz のアンインストール.lnk" "$INSTDIR\Uninstall.exe"
    CreateShortCut "$DESKTOP\Vivivuz.lnk" "$INSTDIR\Vivivuz.exe" "" "$INSTDIR\Vivivuz.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vivivuz ${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vivivuz"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vivivuz.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The program, the shipped files, the shortcuts and the registration go; the user's own
; files stay, and so do the folders that hold them.
Section "un.プログラム本体" SecUnProgram
    SectionIn RO
    Delete "$INSTDIR\Vivivuz.exe"
    !include "${SHIPPED}"
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Vivivuz\Vivivuz.lnk"
    Delete "$SMPROGRAMS\Vivivuz\Vivivuz のアンインストール.lnk"
    RMDir "$SMPROGRAMS\Vivivuz"
    Delete "$DESKTOP\Vivivuz.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
SectionEnd

; Unticked unless the user ticks it, or a silent uninstall is asked for it with
; /REMOVEUSERFILES.
Section /o "un.作成したデザイン・設定・追加したテンプレートと絵も削除する" SecUnUserFiles
    RMDir /r "$INSTDIR"
SectionEnd

Function un.onInit
    SetShellVarContext current
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEUSERFILES" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecUnUserFiles}
    ${EndIf}
FunctionEnd
