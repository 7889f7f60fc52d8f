#!/usr/bin/env bash
# Builds the engine, korvel-run and the program's widget-free model code
# (korvel_core and the views' model library, without windows or the program)
# with AddressSanitizer and UndefinedBehaviorSanitizer (g++) into build-asan/
# and runs their tests. Qt itself is not instrumented.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVEL_ASAN_DIR:-$root/build-asan}
bash "$root/scripts/install-deps.sh"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKORVEL_BUILD_APP=ON -DKORVEL_APP_WIDGETS=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
  >/dev/null
ninja -C "$build" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
ctest --output-on-failure -j2 --timeout 600
