; The Windows installer of Orvane Setup, built on Linux with makensis by
; scripts/windows-dist.sh, which defines:
;   VERSION   the program's version ("2.0")
;   STAGE     the folder with orvane-setup.exe and what it needs
;   OUTFILE   the installer to write
;   ICON      the program's icon
;
; It installs for every user of the PC into Program Files, adds a Start-menu
; entry and, when chosen, a desktop icon, lets the device replies (UDP 12310)
; through Windows' firewall to the program, and registers an uninstaller that
; removes exactly what was installed. Silent: "/S" installs with the default
; choices (no desktop icon); "/S /DESKTOPICON" adds the desktop icon too.
;
; It speaks English or Traditional Chinese, as Windows' display language is
; (English for any other), and stores its language for the uninstaller. The
; file is UTF-8.

; A 64-bit installer for a 64-bit program: it needs no 32-bit Windows layer
; (nor Wine's), and sees the 64-bit Program Files and registry as they are.
Target amd64-unicode
Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Orvane Setup"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvaneSetup"
; A program that Windows' firewall does not know gets no inbound datagrams, and
; the device replies to UDP port 12310: the rule lets them in for the installed
; program, in every profile. Its name is the uninstaller's handle on it.
!define FIREWALL_RULE "Orvane Setup (UDP 12310)"
!define NETSH '"$SYSDIR\netsh.exe" advfirewall firewall'

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey /LANG=1033 "CompanyName" "Orvane"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2004 Orvane"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "$(ExitSetupQuestion)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\orvane-setup.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the one for a display language that is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"

; The cancel question is the wizard's own (ExitSetupQuestion in
; resources/texts.tsv); the Chinese words are the wizard's: 桌面 desktop,
; 捷徑 shortcut.
LangString ExitSetupQuestion ${LANG_ENGLISH} "Are you sure of exiting setup?"
LangString ExitSetupQuestion ${LANG_TRADCHINESE} "確定要退出？"
LangString DesktopIcon ${LANG_ENGLISH} "Desktop icon"
LangString DesktopIcon ${LANG_TRADCHINESE} "桌面捷徑"
LangString UninstallLink ${LANG_ENGLISH} "Uninstall ${PRODUCT}"
LangString UninstallLink ${LANG_TRADCHINESE} "解除安裝 ${PRODUCT}"
LangString FirewallNotSet ${LANG_ENGLISH} "The firewall rule for UDP port 12310 could not be added (netsh: $0)."
LangString FirewallNotSet ${LANG_TRADCHINESE} "無法新增UDP埠12310的防火牆規則（netsh：$0）。"

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\orvane-setup.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(UninstallLink).lnk" "$INSTDIR\uninstall.exe"
  ; Deleted first, so that installing again leaves one rule.
  nsExec::Exec '${NETSH} delete rule name="${FIREWALL_RULE}"'
  Pop $0
  nsExec::Exec '${NETSH} add rule name="${FIREWALL_RULE}" dir=in action=allow \
    program="$INSTDIR\orvane-setup.exe" protocol=UDP localport=12310 profile=any enable=yes'
  Pop $0
  ${If} $0 != 0
    DetailPrint "$(FirewallNotSet)"
  ${EndIf}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane-setup.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Installer Language" "$LANGUAGE"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(DesktopIcon)" SecDesktop
  SetShellVarContext all
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\orvane-setup.exe"
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DESKTOPICON" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecDesktop} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; The uninstaller speaks the language the installer spoke, and names the
; Start-menu entry as it did.
Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Installer Language"
  ${If} $0 != ""
    StrCpy $LANGUAGE $0
  ${EndIf}
FunctionEnd

; Removes what the installer put there, file by file, and the folders only
; when they are then empty: nothing the user kept there is lost.
Section "Uninstall"
  SetShellVarContext all
  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\$(UninstallLink).lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  !include "${STAGE}.uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  nsExec::Exec '${NETSH} delete rule name="${FIREWALL_RULE}"'
  Pop $0
SectionEnd
