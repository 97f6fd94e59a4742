# Debian package of the installed program: `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME qex-lifts)
set(CPACK_PACKAGE_VENDOR "The qex-lifts developers")
set(CPACK_PACKAGE_CONTACT "QEX developers <dev@qex-lifts.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "frame-by-frame animation of a cam mechanism in three lifts")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The program ships stripped; scripts/package.sh puts its debug information in a -dbgsym package.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QEX_PACKAGE_RELEASE})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "QEX developers <dev@qex-lifts.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 keyboard and refresh-rate libraries are opened after the first frame, not linked, so
# no library dependency names them; the versions are those their symbols need on Debian 12.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxkbcommon-x11-0 (>= 0.5.0), libxcb-xkb1, libxcb-randr0 (>= 1.3)")
# libdecor loads its title-bar plugin at run time, so no library dependency names it: without it
# a compositor that leaves decorations to the window shows the window bare.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libdecor-0-plugin-1-cairo)
# The summary above is the first line; these lines are the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A small desktop viewer that plays a built-in technical line drawing of a
cam mechanism: a central disc, two rocker levers and two long stems.
One working cycle has 18 frames, drawn in three lifts that differ in how
far the stems swing. Keys run, stop and step the animation and change the
lift; the pointer sets the speed or scrubs through the frames.")
include(CPack)
