#!/usr/bin/env bash
# Configures and builds KORVEL into build/ (Ninja, two jobs).
# Extra arguments go to cmake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVEL_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${KORVEL_BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
ninja -C "$build" -j2
