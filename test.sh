#!/usr/bin/env bash
# Fresh Debian machine to a green test run: installs packages, builds, runs
# every test. Tests that need a window get a virtual X server with Mesa's
# software renderer, no error dialogs, and a throw-away settings folder.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

config_home=$(mktemp -d)
trap 'rm -rf "$config_home"' EXIT
export XDG_CONFIG_HOME="$config_home"
export ZENTREL_NO_ERROR_BOX=1
export LIBGL_ALWAYS_SOFTWARE=1
cd build
xvfb-run -a -s '-screen 0 1920x1080x24' ctest --output-on-failure -j2 "$@"
