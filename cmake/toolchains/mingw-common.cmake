# Shared part of the MinGW-w64 toolchain files; BRONTEL_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${BRONTEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRONTEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BRONTEL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRONTEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Only system DLLs may be imported: the C and C++ runtimes and winpthreads go in statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine; the wrapper keeps its prefix out of the user's home.
get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine
                       ABSOLUTE)
