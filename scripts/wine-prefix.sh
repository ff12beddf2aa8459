#!/usr/bin/env bash
# Makes the Wine prefix PREFIX (a 64-bit Windows user's world: registry,
# profile folders) unless it is there already. Mono and Gecko are skipped,
# so Wine asks nothing. About 13 s and 0.7 GB.
#   scripts/wine-prefix.sh PREFIX
set -euo pipefail
prefix=$1
[ -f "$prefix/system.reg" ] && [ -f "$prefix/.zentrel-ready" ] && exit 0
mkdir -p "$prefix"
echo "making the Wine prefix $prefix" >&2
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64 \
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
touch "$prefix/.zentrel-ready"
