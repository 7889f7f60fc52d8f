#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" -DKORVEL_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "${KORVEL_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2 --timeout 600
