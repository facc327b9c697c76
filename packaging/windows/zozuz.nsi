; The setup program of zozuz for 64-bit Windows. It installs zozuz.exe and zozuz-cli.exe either for
; everyone using the computer, into the program-files folder (which needs an administrator), or for
; the current user alone, into that user's own programs folder; makes a Start menu shortcut and, when
; ticked, a desktop one; offers zozuz in "Open with" for text files without becoming their default
; program; and registers its uninstaller in the list of installed programs. The wizard speaks
; Simplified Chinese on a Chinese system and English elsewhere.
;
; The setup is a 64-bit program like the one it installs: it sees the registry's 64-bit view and the
; 64-bit program-files folder as its own, and a 32-bit system refuses to start it as it would zozuz.
;
; scripts/package-windows.sh compiles it with these definitions:
;   VERSION          the executables' file version (the installed program's version)
;   PRODUCT_VERSION  their product version
;   COMPANY          their company name
;   BIN_DIR          the folder holding the zozuz.exe and zozuz-cli.exe to install
;   ICON             the program's icon
;   WIZARD_BITMAP    the picture beside the first and the last page (164 x 314, 24-bit BMP)
;   OUT_FILE         the setup program to write
;
; Its command line: /S runs it silently; /D=FOLDER (last, unquoted) chooses the folder; /AllUsers or
; /CurrentUser chooses the kind of installation, which is otherwise for everyone when the setup runs
; as an administrator. The uninstaller takes /S as well.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel highest
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zozuz"
; "Open with": the program's own registration, and a file type of its own that the .txt extension
; lists among its alternatives. The extension's default program is left as it is.
!define APPLICATION_KEY "Software\Classes\Applications\zozuz.exe"
!define PROGID "zozuz.txt"
!define PROGID_KEY "Software\Classes\${PROGID}"
!define TXT_ALTERNATIVES_KEY "Software\Classes\.txt\OpenWithProgids"
; SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, NULL, NULL): the shell rereads the associations.
!define NOTIFY_ASSOCIATIONS "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"

Name "zozuz ${VERSION}"
OutFile "${OUT_FILE}"
BrandingText "${COMPANY}"
ShowInstDetails show
ShowUninstDetails show

; "AllUsers" or "CurrentUser"; the registry root SHCTX and the shell folders follow it.
Var InstallMode
; 1 when the setup runs with an administrator's rights, so that it may install for everyone.
Var IsAdmin
; 1 when /D= chose the folder: a change of the kind of installation keeps it then.
Var FolderGiven
Var ModeAllUsersButton
Var ModeCurrentUserButton

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one a system speaking neither takes.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString DesktopShortcut ${LANG_ENGLISH} "Desktop shortcut"
LangString DesktopShortcut ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString ModeTitle ${LANG_ENGLISH} "Installation Type"
LangString ModeTitle ${LANG_SIMPCHINESE} "安装方式"
LangString ModeSubtitle ${LANG_ENGLISH} "Choose who may use zozuz on this computer."
LangString ModeSubtitle ${LANG_SIMPCHINESE} "选择这台电脑上谁可以使用 zozuz。"
LangString ModeText ${LANG_ENGLISH} "Installed for anyone, zozuz goes into the Program Files folder; installed just for you, it goes into your own programs folder and needs no administrator."
LangString ModeText ${LANG_SIMPCHINESE} "为所有人安装时，zozuz 装入“Program Files”文件夹；只为你安装时，它装入你自己的程序文件夹，不需要管理员权限。"
LangString ModeAllUsers ${LANG_ENGLISH} "Install for &anyone using this computer"
LangString ModeAllUsers ${LANG_SIMPCHINESE} "为使用这台电脑的所有人安装(&A)"
LangString ModeCurrentUser ${LANG_ENGLISH} "Install just for &me"
LangString ModeCurrentUser ${LANG_SIMPCHINESE} "只为我安装(&M)"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing zozuz for anyone using this computer needs an administrator."
LangString NeedsAdmin ${LANG_SIMPCHINESE} "为使用这台电脑的所有人安装 zozuz 需要管理员权限。"
LangString UnNeedsAdmin ${LANG_ENGLISH} "zozuz was installed for anyone using this computer: removing it needs an administrator."
LangString UnNeedsAdmin ${LANG_SIMPCHINESE} "zozuz 是为使用这台电脑的所有人安装的，卸载它需要管理员权限。"

; The setup's own version record carries the executables' values.
VIProductVersion "${PRODUCT_VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "zozuz 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" ""
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "zozuz"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${PRODUCT_VERSION}"

Section "zozuz" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Over an earlier installation these replace its files where they are.
  File "${BIN_DIR}/zozuz.exe"
  File "${BIN_DIR}/zozuz-cli.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\zozuz.lnk" "$INSTDIR\zozuz.exe"

  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "zozuz"
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" ".txt" ""
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\zozuz.exe" "%1"'
  WriteRegStr SHCTX "${PROGID_KEY}\shell\open\command" "" '"$INSTDIR\zozuz.exe" "%1"'
  WriteRegStr SHCTX "${TXT_ALTERNATIVES_KEY}" "${PROGID}" ""
  System::Call "${NOTIFY_ASSOCIATIONS}"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "zozuz"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zozuz.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; The list of installed programs shows the size in kilobytes.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(DesktopShortcut)" SectionDesktop
  CreateShortcut "$DESKTOP\zozuz.lnk" "$INSTDIR\zozuz.exe"
SectionEnd

; Takes the kind of installation in $InstallMode: the shell folders and SHCTX follow it, and unless
; /D= chose the folder, the folder becomes that of an earlier installation of the same kind or the
; kind's usual one.
Function ApplyInstallMode
  ${If} $InstallMode == "AllUsers"
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; A desktop shortcut made by an earlier installation stays ticked, and so stays.
  ${If} ${FileExists} "$DESKTOP\zozuz.lnk"
    !insertmacro SelectSection ${SectionDesktop}
  ${EndIf}
  ${If} $FolderGiven == 1
    Return
  ${EndIf}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    ${If} $InstallMode == "AllUsers"
      StrCpy $0 "$PROGRAMFILES\zozuz"
    ${Else}
      GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; FOLDERID_UserProgramFiles
      ${If} $0 == ""
        StrCpy $0 "$LOCALAPPDATA\Programs"
      ${EndIf}
      StrCpy $0 "$0\zozuz"
    ${EndIf}
  ${EndIf}
  StrCpy $INSTDIR $0
FunctionEnd

Function .onInit
  ; /D= has set the folder before this runs; nothing else has.
  ${If} $INSTDIR != ""
    StrCpy $FolderGiven 1
  ${Else}
    StrCpy $FolderGiven 0
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $IsAdmin 1
    StrCpy $InstallMode "AllUsers"
  ${Else}
    StrCpy $IsAdmin 0
    StrCpy $InstallMode "CurrentUser"
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CurrentUser" $2
  ${IfNot} ${Errors}
    StrCpy $InstallMode "CurrentUser"
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/AllUsers" $2
  ${IfNot} ${Errors}
    ${If} $IsAdmin != 1
      MessageBox MB_OK|MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      Abort
    ${EndIf}
    StrCpy $InstallMode "AllUsers"
  ${EndIf}
  Call ApplyInstallMode
FunctionEnd

; The choice between everyone and the current user, offered only to an administrator: anyone else
; can install for themselves alone.
Function ModePage
  ${If} $IsAdmin != 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 30u "$(ModeText)"
  Pop $0
  ${NSD_CreateRadioButton} 10u 40u -10u 12u "$(ModeAllUsers)"
  Pop $ModeAllUsersButton
  ${NSD_CreateRadioButton} 10u 58u -10u 12u "$(ModeCurrentUser)"
  Pop $ModeCurrentUserButton
  ${If} $InstallMode == "AllUsers"
    ${NSD_Check} $ModeAllUsersButton
  ${Else}
    ${NSD_Check} $ModeCurrentUserButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

; A folder the user typed on the next page survives going back and forth, as long as the kind of
; installation stays the same.
Function ModePageLeave
  ${NSD_GetState} $ModeAllUsersButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $1 "AllUsers"
  ${Else}
    StrCpy $1 "CurrentUser"
  ${EndIf}
  ${If} $1 != $InstallMode
    StrCpy $InstallMode $1
    Call ApplyInstallMode
  ${EndIf}
FunctionEnd

; The uninstaller removes what the setup made and nothing else: a folder that holds other files too
; stays, with them.
Section "Uninstall"
  Delete "$INSTDIR\zozuz.exe"
  Delete "$INSTDIR\zozuz-cli.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\zozuz.lnk"
  Delete "$DESKTOP\zozuz.lnk"

  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  DeleteRegKey SHCTX "${PROGID_KEY}"
  DeleteRegValue SHCTX "${TXT_ALTERNATIVES_KEY}" "${PROGID}"
  ; Keys that hold nothing carry no information, whoever made them; anything else in them stays.
  DeleteRegKey /ifempty SHCTX "${TXT_ALTERNATIVES_KEY}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.txt"
  System::Call "${NOTIFY_ASSOCIATIONS}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

; The uninstaller belongs to the installation whose entry names its folder: for everyone when the
; machine's entry does, for the current user otherwise.
Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    UserInfo::GetAccountType
    Pop $1
    ${If} $1 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(UnNeedsAdmin)" /SD IDOK
      Abort
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd
