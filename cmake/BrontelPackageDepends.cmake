# Read by cpack: the package's Depends from dpkg-shlibdeps on the binaries it ships, as
# debhelper would work them out. dpkg-shlibdeps wants a debian/control to read, so it runs in a
# folder of its own that has a minimal one.
file(MAKE_DIRECTORY ${BRONTEL_SHLIBDEPS_DIR}/debian)
file(WRITE ${BRONTEL_SHLIBDEPS_DIR}/debian/control "Source: brontel\n\nPackage: brontel\nArchitecture: any\n")
execute_process(COMMAND ${BRONTEL_DPKG_SHLIBDEPS} -O ${BRONTEL_PACKAGED_BINARIES}
                WORKING_DIRECTORY ${BRONTEL_SHLIBDEPS_DIR}
                RESULT_VARIABLE brontel_result
                OUTPUT_VARIABLE brontel_output
                ERROR_VARIABLE brontel_errors)
if(NOT brontel_result EQUAL 0 OR NOT brontel_output MATCHES "shlibs:Depends=([^\n]*)")
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${brontel_errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
