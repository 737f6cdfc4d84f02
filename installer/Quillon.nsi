; Quillon-setup.exe: installs the runnable folder under Program Files for
; every user of the computer, with Start-menu shortcuts to Quillon and its two
; companion programs and an uninstaller registered with Windows. Nothing is
; written outside the program folder but the shortcuts and the uninstall
; entry; the uninstaller removes exactly those and leaves the user's own
; files and settings alone.
;
; The build defines VERSION (1.1.0), FILE_VERSION (1.1.0.0), FILE_LIST (the
; macros that install and remove the files), ICON and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"
!define SHORTCUTS "$SMPROGRAMS\Quillon"
!define UNINSTALLER "Uninstall.exe"

Name "Quillon"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quillon"
; Installing again offers the folder of the last installation.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quillon ${VERSION}"
ShowInstDetails hide
ShowUninstDetails hide

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "Quillon"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quillon Setup"
VIAddVersionKey "CompanyName" "Marbleton"
VIAddVersionKey "LegalCopyright" "Marbleton"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; No "Run Quillon" box on the last page: started from here it would run with
; the installer's administrator rights.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Quillon"
  !insertmacro QUILLON_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcuts start the programs in their own folder.
  SetOutPath "$INSTDIR"
  CreateDirectory "${SHORTCUTS}"
  CreateShortCut "${SHORTCUTS}\Quillon.lnk" "$INSTDIR\Quillon.exe" "" "$INSTDIR\Quillon.exe" 0 \
    SW_SHOWNORMAL "" "Find the cryptic wordplay of an answer"
  CreateShortCut "${SHORTCUTS}\Dictionary Builder.lnk" "$INSTDIR\OWBUILD.exe" "" \
    "$INSTDIR\OWBUILD.exe" 0 SW_SHOWNORMAL "" "Build .owd dictionaries from word lists"
  CreateShortCut "${SHORTCUTS}\Word List Merge.lnk" "$INSTDIR\OWMERGE.exe" "" \
    "$INSTDIR\OWMERGE.exe" 0 SW_SHOWNORMAL "" "Merge word lists"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quillon"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Marbleton"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillon.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "${SHORTCUTS}\Quillon.lnk"
  Delete "${SHORTCUTS}\Dictionary Builder.lnk"
  Delete "${SHORTCUTS}\Word List Merge.lnk"
  RMDir "${SHORTCUTS}"

  ; File by file, never the whole folder: dictionaries and word lists the
  ; user keeps there stay, and so does the folder that holds them.
  !insertmacro QUILLON_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
