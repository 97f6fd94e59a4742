# What a Linux install puts beside the program: desktop entry, icons, AppStream metainfo,
# manual page, copyright and changelog. Included by the Linux program's folder, which installs
# the program itself.
set(share ${PROJECT_SOURCE_DIR}/platforms/linux/share)
include(GNUInstallDirs)
install(FILES ${share}/qex-lifts.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${QEX_ICON_SIZES})
  install(FILES ${PROJECT_SOURCE_DIR}/frames/icons/qex-lifts-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME qex-lifts.png)
endforeach()
install(FILES ${share}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What software centres show of the program; its file name is its AppStream id.
install(FILES ${share}/invalid.qex_lifts.qex_lifts.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The package's changelog; its newest entry names the version the package is built as.
file(STRINGS ${share}/changelog.Debian changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^qex-lifts \\(${PROJECT_VERSION}-${QEX_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "share/changelog.Debian does not start with version ${PROJECT_VERSION}-${QEX_PACKAGE_RELEASE}")
endif()

# The manual page (with the project's version) and the changelog ship compressed. They are made
# here, not by build targets, so an install finds them whatever was built; -n keeps the archive
# free of names and times.
configure_file(${share}/qex-lifts.1 ${CMAKE_BINARY_DIR}/qex-lifts.1 @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${share}/changelog.Debian)
foreach(plain ${CMAKE_BINARY_DIR}/qex-lifts.1 ${share}/changelog.Debian)
  get_filename_component(name ${plain} NAME)
  execute_process(COMMAND gzip -9 -n -c ${plain} OUTPUT_FILE ${CMAKE_BINARY_DIR}/${name}.gz
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/qex-lifts.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
