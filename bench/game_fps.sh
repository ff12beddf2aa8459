#!/usr/bin/env bash
# Frames per second of the real game on layout A at 1280 x 720, with and
# without anti-aliasing, on Mesa's software renderer under a virtual X
# server (the figures the F1 overlay shows). Build first (./test.sh or
# scripts/build.sh). Usage: bench/game_fps.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/../build/bin"
seconds=${1:-10}
export LIBGL_ALWAYS_SOFTWARE=1 ZENTREL_NO_ERROR_BOX=1 XDG_CONFIG_HOME=$(mktemp -d)
for aa in -noaa -aa; do
  echo "== game -720 -novs $aa"
  xvfb-run -a -s '-screen 0 1920x1080x24' ./game_fps "$seconds" -720 -novs $aa | grep -E "^(frames|frame time|update time|AA quality)"
done
