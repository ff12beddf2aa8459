#!/usr/bin/env bash
# Builds ZENTREL for Windows (scripts/build-windows.sh) and its package,
# and runs its unit, window, program and install tests under Wine on a
# virtual X server, like ./test.sh: a throw-away Wine prefix (its registry and profile folders are the tests'
# "home"), Mesa's software renderer, no error boxes. Extra arguments go to
# ctest, e.g. scripts/test-windows.sh -R Registry.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
# The setup program the install test runs.
cmake --build build-windows --target package >/dev/null

user_home=$(mktemp -d)
trap 'WINEPREFIX="$user_home/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$user_home"' EXIT
export WINEPREFIX="$user_home/wine"
scripts/wine-prefix.sh "$WINEPREFIX"
export ZENTREL_NO_ERROR_BOX=1 LIBGL_ALWAYS_SOFTWARE=1
cd build-windows
xvfb-run -a -s '-screen 0 1920x1080x24' sh -c \
  '/usr/lib/wine/wineserver -p30; exec ctest --output-on-failure -j2 -L "unit|window|program|install" --timeout 600 "$@"' \
  sh "$@"
