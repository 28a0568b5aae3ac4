# Cross-compiling the console programs for 64-bit Windows with Debian's mingw-w64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs are linked statically, so they need no DLLs of the compiler's run-time. Qt for
# Windows is not packaged by Debian: the Qt front end, its tests and the benchmarks are
# switched off; the toolkit-free suites build against GoogleTest compiled from Debian's
# sources (package googletest) with this toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ONDRIX_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model: std::thread and std::this_thread work without extra libraries.
set(CMAKE_C_COMPILER ${ONDRIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ONDRIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ONDRIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ONDRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(ONDRIX_GUI OFF CACHE BOOL "Qt is not available for this target" FORCE)
set(ONDRIX_BENCH OFF CACHE BOOL "Google Benchmark is not available for this target" FORCE)
