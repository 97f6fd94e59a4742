# Packages for Windows users, `cpack` in the build folder (scripts/windows.sh runs it): a portable
# zip that unpacks to one folder, and an installer made by NSIS. Both hold the program, a short
# readme and the copyright file.
set(windows_docs ${CMAKE_CURRENT_BINARY_DIR}/share)
# Windows users read these in Notepad and the installer's licence page: CRLF line ends.
configure_file(${CMAKE_CURRENT_LIST_DIR}/share/README.txt.in ${windows_docs}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
# The project's one copyright file, converted as it is: configure_file would expand its '@'.
set(copyright_source ${PROJECT_SOURCE_DIR}/platforms/linux/share/copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${copyright_source})
file(READ ${copyright_source} copyright_text)
string(REPLACE "\n" "\r\n" copyright_text "${copyright_text}")
set(copyright_file ${windows_docs}/copyright.txt)
set(written "")
if(EXISTS ${copyright_file})
  file(READ ${copyright_file} written)
endif()
if(NOT written STREQUAL copyright_text)
  file(WRITE ${copyright_file} "${copyright_text}")
endif()
install(FILES ${windows_docs}/README.txt ${windows_docs}/copyright.txt DESTINATION .)

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
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for the 64-bit program: it writes the 64-bit registry view, and runs where
# 32-bit programs cannot (Wine without its 32-bit half, as here). It keeps no file times, since
# cpack writes some of the files it packs anew on every run.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\nSetDateSave off")
set(CPACK_NSIS_PACKAGE_NAME qex-lifts)
set(CPACK_NSIS_DISPLAY_NAME "qex-lifts")
set(CPACK_RESOURCE_FILE_LICENSE ${windows_docs}/copyright.txt)
# The Start-menu entry qex-lifts.lnk, for the program at the top of the install folder (CPack's
# own entries assume a bin folder). The template adds one for the uninstaller beside it.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
  "CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\qex-lifts.lnk' '$INSTDIR\\qex-lifts.exe'")
# The uninstaller's working folder is the install folder, which Windows will not remove while
# it is; leaving it first lets the closing RMDir take the folder too.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "SetOutPath '$TEMP'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\$MUI_TEMP\\qex-lifts.lnk'")
set(CPACK_NSIS_MUI_ICON ${ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${ICON_FILE})
set(CPACK_NSIS_INSTALLED_ICON_NAME qex-lifts.exe)
set(CPACK_NSIS_CONTACT "QEX developers <dev@qex-lifts.invalid>")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
include(CPack)
