#!/usr/bin/env bash
# Cross-builds ZENTREL for 64-bit Windows into build-windows/ (Ninja):
# build-windows/bin/ holds game.exe, launcher.exe, the DLLs they load and
# all their data, laid out like build/bin/. Installs the Debian packages and
# builds the Windows libraries first (scripts/windows-deps.sh, cached), and
# makes the Wine prefix the build runs its generators and GoogleTest's
# discovery in (~/.cache/zentrel/wine-prefix).
# ZENTREL_WERROR=ON turns compiler warnings into errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
deps=$(scripts/windows-deps.sh | tail -n1)

cache=${ZENTREL_CACHE:-$HOME/.cache/zentrel}
export WINEPREFIX=${ZENTREL_WINE_PREFIX:-$cache/wine-prefix}
scripts/wine-prefix.sh "$WINEPREFIX"

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DZENTREL_WINDOWS_DEPS="$deps" -DZENTREL_WINE_PREFIX="$WINEPREFIX" \
  -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" -DZENTREL_WERROR="${ZENTREL_WERROR:-OFF}" >/dev/null
# One Wine server for the whole build instead of one per generator run.
# Exit status 2 only says one is already running.
WINEDEBUG=-all /usr/lib/wine/wineserver -p10 || true
ZENTREL_WINE_RETRY=1 cmake --build build-windows -j "${JOBS:-2}"
