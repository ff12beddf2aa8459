#!/usr/bin/env bash
# Configures and builds everything into build/ (programs and data in build/bin/).
# ZENTREL_WERROR=ON turns compiler warnings into errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DZENTREL_WERROR="${ZENTREL_WERROR:-OFF}" >/dev/null
cmake --build build
