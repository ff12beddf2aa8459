#!/usr/bin/env bash
# Fresh Debian machine to a green test run: installs packages, builds, runs
# every test. Tests that need a window get a virtual X server with Mesa's
# software renderer, no error dialogs, and a throw-away home folder.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

# No test may touch a real user's files: a throw-away home with its own
# settings, state (logs) and pictures folders.
user_home=$(mktemp -d)
trap 'rm -rf "$user_home"' EXIT
export HOME="$user_home"
export XDG_CONFIG_HOME="$user_home/.config"
export XDG_STATE_HOME="$user_home/.local/state"
export ZENTREL_NO_ERROR_BOX=1
export LIBGL_ALWAYS_SOFTWARE=1
cd build
xvfb-run -a -s '-screen 0 1920x1080x24' ctest --output-on-failure -j2 "$@"
