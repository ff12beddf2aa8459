#!/usr/bin/env bash
# Fresh Debian machine to the launcher window: installs packages, builds,
# starts the launcher.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
exec build/bin/launcher
