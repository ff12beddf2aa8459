# Windows (MinGW-w64) settings for the whole build; included by the
# top-level list before any target exists. The programs' own Windows parts
# (subsystem, icon, manifest, DLLs, packages) are in packaging/windows/.

# MinGW's own C99 printf, so "%zu" and "%lld" work as on Linux (QZ_PRINTF
# checks with gnu_printf); its POSIX localtime_r and gmtime_r. Windows 7
# and later; no min/max macros.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 _POSIX_THREAD_SAFE_FUNCTIONS _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
# No libgcc or libstdc++ DLL to ship.
add_link_options(-static-libgcc -static-libstdc++)

# pkg-config (libepoxy) looks only into the dependency prefix.
set(ENV{PKG_CONFIG_LIBDIR} "${ZENTREL_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Programs the build runs (the data generators, GoogleTest's discovery) and
# the tests run under Wine: cmake/wine-run.sh PREFIX DLL-FOLDER... PROGRAM ARGS.
# ZENTREL_WINE_PREFIX is the Wine prefix scripts/build-windows.sh makes.
# (Set here, not in the toolchain file, whose text keys the dependency cache.)
if(NOT ZENTREL_WINE_PREFIX)
  set(ZENTREL_WINE_PREFIX $ENV{HOME}/.cache/zentrel/wine-prefix)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${ZENTREL_WINE_PREFIX}
    ${ZENTREL_WINDOWS_DEPS}/bin ${ZENTREL_MINGW_SYSROOT}/lib --)

# No benchmark library for Windows; the benchmarks stay a Linux matter.
set(ZENTREL_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)
set(ZENTREL_FUZZ OFF CACHE BOOL "Build the fuzz targets" FORCE)
