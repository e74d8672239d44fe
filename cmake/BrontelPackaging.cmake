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
# Debian's documentation layout: the licence as the machine-readable copyright file, the
# changelog and the manual page compressed (gzip -n: the same bytes on every build).
set(brontel_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/brontel)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${brontel_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${brontel_docdir})
# The desktop entry (brontel in a desktop's "Open with" for logs), its icon, the manual page.
set(brontel_share ${PROJECT_SOURCE_DIR}/apps/brontel/share)
install(FILES ${brontel_share}/brontel.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${brontel_share}/brontel.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
configure_file(${brontel_share}/brontel.1 ${PROJECT_BINARY_DIR}/brontel.1 @ONLY)
find_program(BRONTEL_GZIP gzip REQUIRED)
function(brontel_compressed_file input output)
  add_custom_command(OUTPUT ${output} COMMAND ${BRONTEL_GZIP} -9nc ${input} > ${output}
                     DEPENDS ${input} VERBATIM)
endfunction()
brontel_compressed_file(${PROJECT_BINARY_DIR}/brontel.1 ${PROJECT_BINARY_DIR}/brontel.1.gz)
# The changelog in the form the package's changelog has, made from CHANGELOG.md.
set(brontel_maintainer "Brontel maintainers <maintainers@brontel.org>")
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/changelog
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md
          -DOUTPUT=${PROJECT_BINARY_DIR}/changelog -DVERSION=${PROJECT_VERSION}
          -DMAINTAINER=${brontel_maintainer} -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  VERBATIM)
brontel_compressed_file(${PROJECT_BINARY_DIR}/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_target(brontel_compressed_docs ALL
                  DEPENDS ${PROJECT_BINARY_DIR}/brontel.1.gz ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/brontel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${brontel_docdir})
# The message-type presets, where brontel --types finds them (../share/brontel/types from bin/).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/types/ DESTINATION share/brontel/types
        FILES_MATCHING PATTERN "*.ini")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brontel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brontel")
set(CPACK_PACKAGE_CONTACT "${brontel_maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "log-file viewer plug-in (brontel.wlx) and standalone viewer")
# Lines of the extended description stay within 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Shows the tail of a log file and keeps it current while the log grows,\n"
       "colours error, warning and urgent lines and keeps them in a history at the\n"
       "top of the view. brontel.wlx is a viewer plug-in for file managers that load\n"
       "ListLoad plug-ins (the Qt 5 build of Double Commander); brontel is a\n"
       "standalone viewer around the same module.")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# The system Qt 5.15 that a Qt host process already runs, never a bundled one. CPack's own
# dependency scan would also add ldconfig calls to the maintainer scripts, because the module
# is a shared object under /usr/lib, although nothing links against it: the dependencies are
# worked out instead by dpkg-shlibdeps on the built binaries when cpack runs (see
# BrontelPackageDepends.cmake), and named here where it is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt5widgets5 (>= 5.15), libqt5gui5 (>= 5.15), libqt5core5a (>= 5.15), libc6, libstdc++6")
find_program(BRONTEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(BRONTEL_DPKG_SHLIBDEPS)
  set(brontel_packaged_binaries)
  foreach(target IN ITEMS brontel brontel_wlx_qt)
    if(TARGET ${target})
      list(APPEND brontel_packaged_binaries "$<TARGET_FILE:${target}>")
    endif()
  endforeach()
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake
       CONTENT "set(BRONTEL_DPKG_SHLIBDEPS [[${BRONTEL_DPKG_SHLIBDEPS}]])
set(BRONTEL_PACKAGED_BINARIES [[${brontel_packaged_binaries}]])
set(BRONTEL_SHLIBDEPS_DIR [[${PROJECT_BINARY_DIR}/shlibdeps]])
include([[${PROJECT_SOURCE_DIR}/cmake/BrontelPackageDepends.cmake]])
")
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
endif()
include(CPack)
