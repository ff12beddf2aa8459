#!/usr/bin/env bash
# Frame times of layout A at the start position on Mesa's software renderer
# (vsync off, normal voxels): 1280 x 720 with and without anti-aliasing, the
# screen-filling 1920 x 1080 window, an empty frame and the cost of a crater.
# Usage: bench/frame_bench.sh [BUILD_DIR]   (default: build/ of this checkout)
set -euo pipefail
build="${1:-$(dirname "$0")/../build}"
cd "$build/bin"
export LIBGL_ALWAYS_SOFTWARE=1 ZENTREL_NO_ERROR_BOX=1
run() {
    XDG_CONFIG_HOME=$(mktemp -d) xvfb-run -a -s '-screen 0 1920x1080x24' ./frame_bench "$@" 2>/dev/null
}
small=$(run -720 -noaa)
aa=$(run -720 -aa)
large=$(run -noaa)
echo "$small" | grep -E "^frame "
echo "$aa" | grep -E "^frame " | sed -E 's/, [0-9]+ triangles, [0-9]+ draws$//'
echo "$large" | grep -E "^frame "
echo "$small" | grep -E "^empty frame "
echo "$small" | grep -E "^crater: "
