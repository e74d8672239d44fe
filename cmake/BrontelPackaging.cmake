# Installing and packaging: the brontel program, the message-type presets in share/brontel/types
# and, where the Qt module is built, brontel.wlx in lib/brontel/ (where the program looks for
# it, and where a host can be pointed at it).
# `cpack -G DEB` in the build folder makes a Debian package that depends on the system Qt 5.
include(GNUInstallDirs)

if(TARGET brontel)
  install(TARGETS brontel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Always lib/brontel, also where the system's library folder is a multiarch one: the program
# finds the module as ../lib/brontel/brontel.wlx from its own folder.
if(TARGET brontel_wlx_qt)
  install(TARGETS brontel_wlx_qt LIBRARY DESTINATION lib/brontel)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/brontel)
# The desktop entry (brontel in a desktop's "Open with" for logs), its icon, the manual page.
set(brontel_share ${PROJECT_SOURCE_DIR}/apps/brontel/share)
install(FILES ${brontel_share}/brontel.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${brontel_share}/brontel.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
configure_file(${brontel_share}/brontel.1 ${PROJECT_BINARY_DIR}/brontel.1 @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/brontel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The message-type presets, where brontel --types finds them (../share/brontel/types from bin/).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/types/ DESTINATION share/brontel/types
        FILES_MATCHING PATTERN "*.ini")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brontel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brontel")
set(CPACK_PACKAGE_CONTACT "Brontel developers <brontel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "log-file viewer plug-in (brontel.wlx) and standalone viewer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Shows the tail of a log file and keeps it current while the log grows, colours error, "
       "warning and urgent lines and keeps them in a history at the top of the view. brontel.wlx "
       "is a viewer plug-in for file managers that load ListLoad plug-ins (the Qt 5 build of "
       "Double Commander); brontel is a standalone viewer around the same module.")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# The system Qt 5.15 that a Qt host process already runs, never a bundled one: worked out from
# the binaries where dpkg-shlibdeps is there, named here otherwise.
find_program(BRONTEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(BRONTEL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt5widgets5 (>= 5.15), libqt5gui5 (>= 5.15), libqt5core5a (>= 5.15), libc6, libstdc++6")
endif()
include(CPack)
