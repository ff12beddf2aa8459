#!/usr/bin/env bash
# Frame time of layout A at 1280 x 720 on Mesa's software renderer with
# normal and fast voxels, and the cost of a crater, next to the device
# layer's baseline (an empty frame, 100,000 cubes). Build first.
set -euo pipefail
cd "$(dirname "$0")/../build/bin"
export LIBGL_ALWAYS_SOFTWARE=1 ZENTREL_NO_ERROR_BOX=1 XDG_CONFIG_HOME=$(mktemp -d)
xvfb-run -a -s '-screen 0 1920x1080x24' ./frame_bench | grep -E "^frame"
xvfb-run -a -s '-screen 0 1920x1080x24' ./gfx_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "median"
