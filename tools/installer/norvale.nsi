; Norvale's setup program: a per-user install, without elevation, of norv.exe,
; nnote.exe, the update tool liveup.exe, the update sound and the help file, the data folder with the four
; data files the program needs before its first start, a Start-menu shortcut
; and the entry in the user's Apps list; and its uninstaller.
;
; The Windows build makes it (cmake/Installer.cmake), with these defines:
;   VERSION   the release as shown, "5.1"
;   PAYLOAD   the folder with the stripped norv.exe, nnote.exe and liveup.exe
;   FILES     the build folder, with norv.wav, norv.chm and artwork/norv.ico
;   OUTFILE   the setup program to write
; This file is UTF-8 without a byte-order mark: makensis -INPUTCHARSET UTF8.
;
; Command line, for both the setup program and the uninstaller:
;   /S          silent
;   /D=folder   the program folder (last on the line, not quoted)
; The uninstaller also takes /REMOVEDATA: the draw history and the settings
; go too, as when "履歴データと設定も削除する" is ticked. Without it (and so
; with /S alone) both stay.
;
; Exit codes: 0 done; 1 cancelled by the user; 2 stopped, with nothing
; replaced, because Norvale did not end, a program file is in use, or the
; data folder cannot be made.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Norvale"
!define MAKER "Pellmark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Norvale"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "T-NORV"
!define MAKER_KEY "Software\Pellmark"
!define SETTINGS_KEY "Software\Pellmark\T-NORV"
!define DATA_FOLDER "$APPDATA\Pellmark\T-NORV"
!define SHORTCUT "$SMPROGRAMS\Norvale.lnk"

; The program's side of the end request (app/app_messages.h) and its
; single-instance mutex.
!define MAIN_WINDOW_CLASS "TForm1"
!define END_MESSAGE "Norvale.EndForUpgrade"
!define END_ANSWER 0x4E4F5256
!define INSTANCE_MUTEX "norv"
!define END_WAIT_MS 10000
!define ANSWER_WAIT_MS 5000

!define SYNCHRONIZE 0x00100000
!define SMTO_ABORTIFHUNG 0x0002
!define WAIT_OBJECT_0 0
!define GENERIC_WRITE 0x40000000
!define CREATE_NEW 1
!define OPEN_EXISTING 3
!define FILE_ATTRIBUTE_NORMAL 0x80
!define ERROR_FILE_EXISTS 80

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} セットアップ"
UninstallCaption "${PRODUCT} のアンインストール"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Norvale"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${MAKER}"
; A program file that cannot be written stops the install instead of being
; skipped: an install of mixed versions is worse than none.
AllowSkipFiles off

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2026 ${MAKER}"

!define MUI_ICON "${FILES}/artwork/norv.ico"
!define MUI_UNICON "${FILES}/artwork/norv.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_WELCOMEPAGE_TEXT "Norvale ${VERSION} をインストールします。$\r$\n$\r$\nNorvale が起動している場合は、セットアップが終了させてから置き換えます。これまでの抽選結果の履歴と設定は、そのまま引き継がれます。$\r$\n$\r$\n「次へ」をクリックして続けてください。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\norv.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Norvale を起動する"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; Shared by the setup program and the uninstaller; `un` is "" or "un.".
!macro NORVALE_FUNCTIONS un

; Asks every running Norvale to end before its files are touched, and waits
; up to 10 s for each. A "TForm1" window that answers the end request as
; Norvale does is ended as the tray menu's exit ends it, without the
; question; a window that answers anything else is another program's and is
; left alone; one that does not answer in time may be a Norvale that hangs,
; so it counts as one that did not end. Leaves "ok" or "running" in $0.
Function ${un}EndRunningNorvale
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  System::Call 'user32::RegisterWindowMessageW(w "${END_MESSAGE}") i .r1'
  StrCpy $0 "ok"
  StrCpy $2 0
  ${Do}
    FindWindow $2 "${MAIN_WINDOW_CLASS}" "" 0 $2
    ${If} $2 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r2, *i 0 r3)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r3) p .r4'
    System::Call 'user32::SendMessageTimeoutW(p r2, i r1, p 0, p 0, i ${SMTO_ABORTIFHUNG}, i ${ANSWER_WAIT_MS}, *p 0 r5) p .r6'
    ${If} $6 P= 0
      StrCpy $0 "running"
    ${ElseIf} $5 = ${END_ANSWER}
      DetailPrint "Norvale を終了しています..."
      Push $4
      Push $2
      Call ${un}WaitForEnd
      Pop $6
      ${If} $6 == "ended"
        StrCpy $2 0  ; its window is gone: look again from the start
      ${Else}
        StrCpy $0 "running"
      ${EndIf}
    ${EndIf}
    ${If} $4 P<> 0
      System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
  ${Loop}
  ; A copy still starting up holds the mutex before it has a window.
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .r4'
  ${If} $4 P<> 0
    System::Call 'kernel32::CloseHandle(p r4)'
    StrCpy $0 "running"
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Stack in: the window, then the process handle (0 when it could not be
; opened). Stack out: "ended" or "running". The files stay in use until the
; process has gone, so that is what is waited for; without a handle, the
; window's disappearance has to do.
Function ${un}WaitForEnd
  Exch $2
  Exch
  Exch $4
  Push $3
  Push $5
  ${If} $4 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r4, i ${END_WAIT_MS}) i .r3'
    ${If} $3 = ${WAIT_OBJECT_0}
      StrCpy $3 "ended"
    ${Else}
      StrCpy $3 "running"
    ${EndIf}
  ${Else}
    StrCpy $3 "running"
    ${For} $4 1 100
      System::Call 'user32::IsWindow(p r2) i .r5'
      ${If} $5 = 0
        StrCpy $3 "ended"
        ${Break}
      ${EndIf}
      Sleep 100
    ${Next}
  ${EndIf}
  StrCpy $2 $3
  Pop $5
  Pop $3
  Pop $4
  Exch $2
FunctionEnd

!macroend

!insertmacro NORVALE_FUNCTIONS ""
!insertmacro NORVALE_FUNCTIONS "un."

; Stack in: a file name in $INSTDIR. Stack out: "1" when it exists and cannot
; be opened for writing, else "0".
Function IsProgramFileInUse
  Exch $1
  Push $2
  StrCpy $2 "0"
  ${If} ${FileExists} "$INSTDIR\$1"
    System::Call 'kernel32::CreateFileW(w "$INSTDIR\$1", i ${GENERIC_WRITE}, i 0, p 0, i ${OPEN_EXISTING}, i ${FILE_ATTRIBUTE_NORMAL}, p 0) p .r2'
    ${If} $2 P= -1
      StrCpy $2 "1"
    ${Else}
      System::Call 'kernel32::CloseHandle(p r2)'
      StrCpy $2 "0"
    ${EndIf}
  ${EndIf}
  StrCpy $1 $2
  Pop $2
  Exch $1
FunctionEnd

; Stack in: a data file name. Creates it empty when it does not exist; an
; existing file is never opened, let alone truncated (CREATE_NEW). Stack
; out: "1" when the file is there afterwards, else "0".
Function CreateDataFileIfMissing
  Exch $1
  Push $2
  Push $3
  System::Call 'kernel32::CreateFileW(w "${DATA_FOLDER}\$1", i ${GENERIC_WRITE}, i 0, p 0, i ${CREATE_NEW}, i ${FILE_ATTRIBUTE_NORMAL}, p 0) p .r2 ?e'
  Pop $3
  ${If} $2 P<> -1
    System::Call 'kernel32::CloseHandle(p r2)'
    DetailPrint "データファイルを作成しました: $1"
    StrCpy $1 "1"
  ${ElseIf} $3 = ${ERROR_FILE_EXISTS}
    StrCpy $1 "1"
  ${Else}
    StrCpy $1 "0"
  ${EndIf}
  Pop $3
  Pop $2
  Exch $1
FunctionEnd

!macro STOP_INSTALL text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Abort
!macroend

!macro REQUIRE_PROGRAM_FILE_FREE file
  Push "${file}"
  Call IsProgramFileInUse
  Pop $0
  ${If} $0 == "1"
    !insertmacro STOP_INSTALL "${file} が使用中のため、置き換えられません。$\r$\n${file} を閉じてから、もう一度セットアップを実行してください。"
  ${EndIf}
!macroend

!macro REQUIRE_DATA_FILE file
  Push "${file}"
  Call CreateDataFileIfMissing
  Pop $0
  ${If} $0 != "1"
    !insertmacro STOP_INSTALL "データファイル ${file} を作成できませんでした。$\r$\n${DATA_FOLDER}"
  ${EndIf}
!macroend

Section "Norvale" SecProgram
  SectionIn RO

  Call EndRunningNorvale
  ${If} $0 != "ok"
    !insertmacro STOP_INSTALL "Norvale を終了できませんでした。$\r$\nNorvale を終了してから、もう一度セットアップを実行してください。$\r$\nファイルは何も変更されていません。"
  ${EndIf}
  !insertmacro REQUIRE_PROGRAM_FILE_FREE "norv.exe"
  !insertmacro REQUIRE_PROGRAM_FILE_FREE "nnote.exe"
  !insertmacro REQUIRE_PROGRAM_FILE_FREE "norv.wav"
  !insertmacro REQUIRE_PROGRAM_FILE_FREE "norv.chm"
  !insertmacro REQUIRE_PROGRAM_FILE_FREE "uninstall.exe"

  ; The program refuses to start without these; an upgrade keeps the history.
  CreateDirectory "${DATA_FOLDER}"
  ${IfNot} ${FileExists} "${DATA_FOLDER}\*.*"
    !insertmacro STOP_INSTALL "データフォルダーを作成できませんでした。$\r$\n${DATA_FOLDER}"
  ${EndIf}
  !insertmacro REQUIRE_DATA_FILE "dat_lot6.tan"
  !insertmacro REQUIRE_DATA_FILE "dat_mini.tan"
  !insertmacro REQUIRE_DATA_FILE "dat_num4.tan"
  !insertmacro REQUIRE_DATA_FILE "dat_num3.tan"

  SetOutPath "$INSTDIR"
  File "${PAYLOAD}/norv.exe"
  File "${PAYLOAD}/nnote.exe"
  File "${FILES}/norv.wav"
  File "${FILES}/norv.chm"
  ; The update tool may be the very program running this setup: a running
  ; program can be renamed but not overwritten, so the old copy steps aside,
  ; and is removed here once it has ended (or by the next setup or the uninstaller).
  Delete "$INSTDIR\liveup.old"
  Rename "$INSTDIR\liveup.exe" "$INSTDIR\liveup.old"
  File "${PAYLOAD}/liveup.exe"
  Delete "$INSTDIR\liveup.old"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\norv.exe" "" "$INSTDIR\norv.exe" 0 SW_SHOWNORMAL "" "${PRODUCT}"

  ; Start with Windows, when the user has it on, follows the program to the
  ; folder it now lives in (the program writes the value in this form).
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\norv.exe"
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\norv.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.Norvale のプログラム" SecUninstallProgram
  SectionIn RO

  Call un.EndRunningNorvale
  ${If} $0 != "ok"
    !insertmacro STOP_INSTALL "Norvale を終了できませんでした。$\r$\nNorvale を終了してから、もう一度アンインストールを実行してください。$\r$\nファイルは何も削除されていません。"
  ${EndIf}

  Delete "$INSTDIR\norv.exe"
  Delete "$INSTDIR\nnote.exe"
  Delete "$INSTDIR\liveup.exe"
  Delete "$INSTDIR\liveup.old"
  Delete "$INSTDIR\norv.wav"
  Delete "$INSTDIR\norv.chm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The companions keep their own folders and settings beside Norvale's under
; Pellmark: only Norvale's go, and the maker's folder and key only when empty.
Section /o "un.履歴データと設定も削除する" SecRemoveData
  RMDir /r "${DATA_FOLDER}"
  RMDir "$APPDATA\Pellmark"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUninstallProgram} "Norvale のプログラム、スタートメニューのショートカット、Windows 起動時の自動起動を削除します。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRemoveData} "抽選結果の履歴とマイ数字（${DATA_FOLDER}）と Norvale の設定も削除します。チェックしなければ残り、再インストールするとそのまま使えます。"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecRemoveData}
  ${EndIf}
FunctionEnd
