#!/usr/bin/env bash
# Fresh Debian machine to the launcher window: installs packages, builds,
# starts the launcher.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
if [ -x build/bin/launcher ]; then
  exec build/bin/launcher
fi
echo "Built. The launcher is not part of this build yet: build/bin/ holds what exists so far."
