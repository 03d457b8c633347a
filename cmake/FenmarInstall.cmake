# What "cmake --install build --prefix P" puts where, and the Debian package CPack makes of it.
#   P/bin/fenmar, P/bin/fenmar-reg               (installed by their own folders)
#   P/lib/fenmar/PlugIns/                        the sample plug-ins
#   P/share/applications/<id>.desktop            the menu entry (Exec= is P/bin/fenmar)
#   P/share/icons/hicolor/<size>/apps/fenmar.png rendered at build time (src/app)
#   P/share/metainfo/<id>.metainfo.xml           AppStream
#   P/share/man/man1/fenmar.1.gz, fenmar-reg.1.gz
#   P/share/doc/fenmar/copyright, changelog.gz
# An installed fenmar finds its plug-ins in ../lib/fenmar/PlugIns from its own folder
# (core/InstallLayout), so every prefix works without a path compiled in.

set(FENMAR_APP_ID com.corvanta.Fenmar)
# Installing and packaging take what is built: build fenmar, fenmar-reg, fenmar_sample_plugins
# and fenmar_icons first (tools/ci-stages/install.sh does), not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

foreach(plugin DeathmatchRules WinQuakeSwitch MinimalPlugIn)
  if(TARGET ${plugin})
    install(TARGETS ${plugin} LIBRARY DESTINATION lib/fenmar/PlugIns
                              RUNTIME DESTINATION lib/fenmar/PlugIns)
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/resources/${FENMAR_APP_ID}.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/fenmar.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/resources/copyright DESTINATION share/doc/fenmar)
set(FENMAR_MAINTAINER "Fenmar developers <fenmar@corvanta.example>")
# Made at install time: the menu entry naming the installed program by its absolute path, the
# compressed man pages and the changelog.
install(CODE "
  set(FENMAR_INSTALL_WORK \"${CMAKE_BINARY_DIR}/install-work\")
  file(MAKE_DIRECTORY \"\${FENMAR_INSTALL_WORK}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/FenmarInstallSteps.cmake\")
  fenmar_install_desktop_entry(\"${PROJECT_SOURCE_DIR}/resources/${FENMAR_APP_ID}.desktop\"
                               share/applications)
  fenmar_install_gzipped(\"${PROJECT_SOURCE_DIR}/docs/man/fenmar.1\" share/man/man1)
  fenmar_install_gzipped(\"${PROJECT_SOURCE_DIR}/docs/man/fenmar-reg.1\" share/man/man1)
  fenmar_install_changelog(${PROJECT_VERSION} \"${FENMAR_MAINTAINER}\" share/doc/fenmar)
")

# --- The Debian package: cpack -G DEB in the build folder ------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fenmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Corvanta)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "launcher for Quake engines")
set(CPACK_PACKAGE_CONTACT "${FENMAR_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installs with DESTDIR into the package's /usr, so the menu entry names /usr/bin/fenmar.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# "games" would want the programs in /usr/games; they live in /usr/bin beside every prefix's.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Lines of at most 80 characters, as Debian's package tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Fenmar turns the choices for a game of Quake (engine, mod, map, skill, demos,"
  "server and free parameters) into the engine's command line and starts it."
  "Quick-Sets keep whole setups and also start from a terminal or a desktop"
  "shortcut; plug-in libraries extend it.")
# The libraries the programs link (Qt 6, SQLite, the C++ runtime) become Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plug-ins take the store's functions from the program that loads them: they are resolved
# at load time and belong to no library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "quakespasm | quake-engine")
set(CPACK_STRIP_FILES ON)
include(CPack)
