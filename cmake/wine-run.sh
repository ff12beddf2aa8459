#!/usr/bin/env bash
# Runs a Windows program under Wine, for the build (CMAKE_CROSSCOMPILING_EMULATOR)
# and by hand:
#   cmake/wine-run.sh PREFIX DLL-FOLDER... -- PROGRAM.exe ARGS...
# PREFIX is the Wine prefix, used unless WINEPREFIX is set already (the
# Windows tests give each run a fresh one); the DLL folders go into WINEPATH,
# so programs find the dependency DLLs wherever they lie. Wine's own messages
# are off (WINEDEBUG=-all) unless WINEDEBUG is set.
set -euo pipefail
prefix=$1
shift
path=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  path="${path:+$path;}Z:$1"
  shift
done
[ "${1:-}" = "--" ] && shift
export WINEPREFIX=${WINEPREFIX:-$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPATH="$path${WINEPATH:+;$WINEPATH}"
# Mono and Gecko are never wanted; without them Wine asks no questions.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -n "${ZENTREL_WINE_RETRY:-}" ]; then
  # Under load Wine now and then crashes while it starts a program (a page
  # fault before main). The build sets this for its generators: one that
  # fails runs once more before the build gives up. Tests never retry.
  /usr/lib/wine/wine64 "$@" && exit 0
  echo "wine-run: $1 failed; running it once more" >&2
fi
exec /usr/lib/wine/wine64 "$@"
