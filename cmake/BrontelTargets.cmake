# Helpers that keep every folder's CMakeLists.txt to a few lines.

function(brontel_add_subdirectory_if_present dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Adds every immediate child folder that has a CMakeLists.txt, except those named in
# BRONTEL_SKIPPED_CHILD_DIRECTORIES.
function(brontel_add_child_directories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND
       NOT child IN_LIST BRONTEL_SKIPPED_CHILD_DIRECTORIES)
      brontel_add_subdirectory_if_present(${child})
    endif()
  endforeach()
endfunction()

# brontel_library(<target> [DEPS <targets>...])
# Sources: the folder's *.cpp plus its posix/ or win32/ subfolder, chosen by the target OS.
function(brontel_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    file(GLOB os_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
  else()
    file(GLOB os_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.cpp)
  endif()
  if(sources OR os_sources)
    add_library(${target} STATIC ${sources} ${os_sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# brontel_test(<target> LIBS <targets>... [LABELS <labels>...])
# One test program from the folder's *_test.cpp files; every test case becomes a ctest test.
function(brontel_test target)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(WIN32)
    # Tests of POSIX behaviour (fifos, permission bits, environment variables) stay out.
    foreach(posix_only IN LISTS BRONTEL_POSIX_ONLY_TESTS)
      list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/tests/${posix_only})
    endforeach()
    if(NOT sources OR target IN_LIST BRONTEL_POSIX_ONLY_TEST_PROGRAMS)
      list(APPEND sources ${PROJECT_SOURCE_DIR}/cmake/Empty.cpp)
      add_executable(${target} EXCLUDE_FROM_ALL ${sources})
      return()
    endif()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  set(properties TIMEOUT 300)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if("threads" IN_LIST ARG_LABELS)
    # The ThreadSanitizer build needs only these programs: `brontel_threaded_tests` builds them.
    if(NOT TARGET brontel_threaded_tests)
      add_custom_target(brontel_threaded_tests)
    endif()
    add_dependencies(brontel_threaded_tests ${target})
  endif()
  # A 32-bit Windows program starts only in the runtime the test run sets up (WoW64, qemu-user
  # on processors without 32-bit code), so its tests are listed when the tests run, not when
  # it is built.
  set(discovery)
  if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(discovery DISCOVERY_MODE PRE_TEST)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 ${discovery} PROPERTIES ${properties})
endfunction()

# brontel_benchmark(<target> LIBS <targets>...): one program from the folder's *.cpp files.
function(brontel_benchmark target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()

# brontel_fuzzer(<target> CORPUS <dir> LIBS <targets>...)
# A libFuzzer program, plus a ctest test (label "fuzz") that replays its corpus once. With
# BRONTEL_FUZZ_REPLAY the program is the replay driver instead (fuzz/replay): no libFuzzer,
# any compiler, the build's sanitizers.
function(brontel_fuzzer target)
  cmake_parse_arguments(ARG "" "CORPUS" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${target} ${sources})
  if(BRONTEL_FUZZ_REPLAY)
    target_link_libraries(${target} PRIVATE brontel_fuzz_replay)
  else()
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  add_test(NAME ${target}_replay COMMAND ${target} -runs=0 ${ARG_CORPUS})
  set_tests_properties(${target}_replay PROPERTIES LABELS fuzz TIMEOUT 900)
endfunction()

# brontel_fuzz_coverage(<libraries>...)
# Coverage feedback for libFuzzer has to reach into the code under test, not only the target's
# own file; the replay driver needs none.
function(brontel_fuzz_coverage)
  if(NOT BRONTEL_FUZZ_REPLAY)
    foreach(library ${ARGN})
      target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
    endforeach()
  endif()
endfunction()
