# Packages for Windows users, `cpack` in the build folder (scripts/windows.sh runs it): a portable
# zip that unpacks to one folder, and an installer made by NSIS. Both hold the program, a short
# readme and the licence.
set(windows_docs ${CMAKE_CURRENT_BINARY_DIR}/share)
# Windows users read these in Notepad and the installer's licence page: CRLF line ends.
configure_file(${CMAKE_CURRENT_LIST_DIR}/share/README.txt.in ${windows_docs}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
# The project's licence, converted as it is; written only when it changed, so cpack's inputs
# keep their times.
set(licence_source ${PROJECT_SOURCE_DIR}/LICENSE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${licence_source})
file(READ ${licence_source} licence_text)
string(REPLACE "\n" "\r\n" licence_text "${licence_text}")
set(licence_file ${windows_docs}/LICENSE.txt)
set(written "")
if(EXISTS ${licence_file})
  file(READ ${licence_file} written)
endif()
if(NOT written STREQUAL licence_text)
  file(WRITE ${licence_file} "${licence_text}")
endif()
install(FILES ${windows_docs}/README.txt ${licence_file} DESTINATION .)

# Every CPACK_ value reaches cpack exactly as written here; NSIS's backslashes stay single.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME qex-lifts)
set(CPACK_PACKAGE_VENDOR "The qex-lifts developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frame-by-frame animation of a cam mechanism in three lifts")
set(CPACK_PACKAGE_FILE_NAME qex-lifts-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
# Every file in the zip carries the same time, so the same sources give the same bytes.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_times.cmake)

set(CPACK_PACKAGE_INSTALL_DIRECTORY qex-lifts)
# One key for every version, so a newer installer replaces the Settings > Apps entry instead of
# adding a second one.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY qex-lifts)
set(vendor_key "Software\\${CPACK_PACKAGE_VENDOR}")
set(uninstall_key "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qex-lifts")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(version_quad ${PROJECT_VERSION}.0)
# A 64-bit installer for the 64-bit program: it writes the 64-bit registry view, and runs where
# 32-bit programs cannot (Wine without its 32-bit half, as here). It keeps no file times, since
# cpack writes some of the files it packs anew on every run. Its own version resource is what
# the Properties dialog shows. The licence grants rights and asks for no consent: its page
# only needs Next.
string(JOIN "\n" CPACK_NSIS_DEFINES
  "Target amd64-unicode"
  "SetDateSave off"
  "!include FileFunc.nsh"
  "VIProductVersion ${version_quad}"
  "VIFileVersion ${version_quad}"
  "VIAddVersionKey /LANG=1033 ProductName qex-lifts"
  "VIAddVersionKey /LANG=1033 ProductVersion ${PROJECT_VERSION}"
  "VIAddVersionKey /LANG=1033 FileVersion ${PROJECT_VERSION}"
  "VIAddVersionKey /LANG=1033 FileDescription \"qex-lifts ${PROJECT_VERSION} installer\""
  "VIAddVersionKey /LANG=1033 CompanyName \"${CPACK_PACKAGE_VENDOR}\""
  "VIAddVersionKey /LANG=1033 LegalCopyright \"${QEX_COPYRIGHT}; MIT licence\""
  "!define MUI_LICENSEPAGE_TEXT_TOP \"qex-lifts is free software under the MIT licence:\""
  "!define MUI_LICENSEPAGE_TEXT_BOTTOM \"You may use, copy and pass it on as this licence says; there is nothing to accept.\""
  "!define MUI_LICENSEPAGE_BUTTON $(^NextBtn)")
set(CPACK_NSIS_PACKAGE_NAME qex-lifts)
set(CPACK_NSIS_DISPLAY_NAME "qex-lifts")
set(CPACK_RESOURCE_FILE_LICENSE ${licence_file})
# The finish page's "Run qex-lifts" box; the program sits at the top of the install folder.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN qex-lifts.exe)
# The Start-menu entry qex-lifts.lnk, for the program at the top of the install folder (CPack's
# own entries assume a bin folder). The template adds one for the uninstaller beside it.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
  "CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\qex-lifts.lnk' '$INSTDIR\\qex-lifts.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\$MUI_TEMP\\qex-lifts.lnk'")
# Settings > Apps shows the size of the install folder, in KiB, and offers neither modify nor
# repair; these two are DWORDs there, not the strings the template writes.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
  "\${GetSize} '$INSTDIR' '/S=0K' $0 $1 $2
  WriteRegDWORD SHCTX '${uninstall_key}' EstimatedSize $0
  WriteRegDWORD SHCTX '${uninstall_key}' NoModify 1
  WriteRegDWORD SHCTX '${uninstall_key}' NoRepair 1")
# The uninstaller's working folder is the install folder, which Windows will not remove while
# it is; leaving it first lets the closing RMDir take the folder too. The template deletes only
# our subkey of the vendor key: the vendor key goes too unless something else lives in it.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
  "SetOutPath '$TEMP'
  DeleteRegKey SHCTX '${vendor_key}\\qex-lifts'
  DeleteRegKey /ifempty SHCTX '${vendor_key}'")
set(CPACK_NSIS_MUI_ICON ${ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${ICON_FILE})
set(CPACK_NSIS_INSTALLED_ICON_NAME qex-lifts.exe)
set(CPACK_NSIS_CONTACT "QEX developers <dev@qex-lifts.invalid>")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
include(CPack)
