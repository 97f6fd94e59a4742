# What a Linux install puts beside the program: desktop entry, icons, manual page, copyright
# and changelog. Included by the Linux program's folder, which installs the program itself.
set(share ${PROJECT_SOURCE_DIR}/platforms/linux/share)
include(GNUInstallDirs)
install(FILES ${share}/qex-lifts.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${QEX_ICON_SIZES})
  install(FILES ${PROJECT_SOURCE_DIR}/frames/icons/qex-lifts-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME qex-lifts.png)
endforeach()
install(FILES ${share}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages ship compressed; -n keeps the archive free of names and times.
set(man_page ${CMAKE_BINARY_DIR}/qex-lifts.1.gz)
add_custom_command(OUTPUT ${man_page}
  COMMAND gzip -9 -n -c ${share}/qex-lifts.1 > ${man_page}
  DEPENDS ${share}/qex-lifts.1
  VERBATIM)
add_custom_target(man_page ALL DEPENDS ${man_page})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's changelog; its newest entry names the version the package is built as.
file(STRINGS ${share}/changelog.Debian changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^qex-lifts \\(${PROJECT_VERSION}-${QEX_PACKAGE_RELEASE}\\) ")
  message(FATAL_ERROR "share/changelog.Debian does not start with version ${PROJECT_VERSION}-${QEX_PACKAGE_RELEASE}")
endif()
set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9 -n -c ${share}/changelog.Debian > ${changelog}
  DEPENDS ${share}/changelog.Debian
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
