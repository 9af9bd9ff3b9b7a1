# The Debian package: `cpack -G DEB` in the build folder. The game, its tools, data and the
# engine kit go into one package installed under /usr; its dependencies are worked out from
# the binaries (dpkg-shlibdeps), and the files Debian asks of every package (copyright,
# changelog) are under share/doc/rollandia.
set(PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/rollandia)
compress_for_install(${CMAKE_SOURCE_DIR}/packaging/changelog PACKAGE_CHANGELOG)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${PACKAGE_CHANGELOG} DESTINATION ${PACKAGE_DOC_DIR})

set(CPACK_PACKAGE_NAME rollandia)
set(CPACK_PACKAGE_VENDOR "The Rollandia developers")
set(CPACK_PACKAGE_CONTACT "The Rollandia developers <rollandia@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-dimensional physics game of a rolling ball")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Steer a ball through worlds of screens full of solid, breakable, dangerous and
door pieces: break the glass to open the doors, keep off the spikes, saws and
lava. A rigid-body world moves everything.

The package holds the game, its level editor and level checker, and the engine
as a kit (headers, static libraries, a CMake package and a pkg-config file)
for writing level tools.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's "games" section asks for the programs in /usr/games; they are in /usr/bin here.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
