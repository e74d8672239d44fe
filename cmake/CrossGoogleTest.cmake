# GoogleTest and GoogleMock for a cross build, compiled from Debian's sources for the target.
# Defines the same GTest::gtest, GTest::gmock and GTest::gtest_main targets as find_package.
set(BRONTEL_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)

# GoogleTest is not ours to keep free of warnings under every compiler.
get_directory_property(brontel_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "-w")
add_subdirectory(${BRONTEL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                 SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${brontel_saved_options}")
