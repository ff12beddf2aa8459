# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix-thread
# compilers: std::thread and std::mutex need them). Used by
# scripts/windows-deps.sh for the dependencies and scripts/build-windows.sh
# for ZENTREL itself. ZENTREL_WINDOWS_DEPS names the dependency prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZENTREL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZENTREL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZENTREL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZENTREL_MINGW}-windres)
set(CMAKE_AR ${ZENTREL_MINGW}-gcc-ar-posix CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${ZENTREL_MINGW}-gcc-ranlib-posix CACHE FILEPATH "ranlib")

# Libraries and headers from the MinGW sysroot and the dependency prefix
# only; programs (glslangValidator, pkg-config, gzip) from the host.
set(ZENTREL_MINGW_SYSROOT /usr/${ZENTREL_MINGW})
if(DEFINED ENV{ZENTREL_WINDOWS_DEPS} AND NOT ZENTREL_WINDOWS_DEPS)
  set(ZENTREL_WINDOWS_DEPS $ENV{ZENTREL_WINDOWS_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH ${ZENTREL_MINGW_SYSROOT} ${ZENTREL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Try-compiles see the same variables.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZENTREL_WINDOWS_DEPS)
