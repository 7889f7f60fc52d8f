#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on, every library instrumented for coverage) and
# runs each for a while. The program's model library (korvel_core, Qt Core) is
# built for the program's targets; its windows and the program are not.
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
# Crashes, timeouts and out-of-memory inputs are written to fuzz/findings/;
# the corpora grow in build-fuzz/corpus/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${KORVEL_FUZZ_DIR:-$root/build-fuzz}
bash "$root/scripts/install-deps.sh"
targets="fuzz_engine fuzz_record_reader fuzz_data_file fuzz_plot_file fuzz_evaluator"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKORVEL_FUZZ=ON \
  -DKORVEL_BUILD_APP=ON -DKORVEL_APP_WIDGETS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  >/dev/null
# shellcheck disable=SC2086
ninja -C "$build" -j2 $targets

mkdir -p "$root/fuzz/findings"
# A run of the engine on an example takes milliseconds and a few MiB, so an
# input that takes 2 s, holds 512 MiB or asks for 64 MiB at once (a mistyped
# depth driving the work) is a finding, not a long wait.
limits="-timeout=2 -rss_limit_mb=512 -malloc_limit_mb=64"
run_target() {
  local target=$1
  shift
  local corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  for seeds in "$@"; do cp -n "$seeds" "$corpus"/ 2>/dev/null || true; done
  echo "== $target for ${seconds} s"
  # shellcheck disable=SC2086
  "$build/bin/$target" "$corpus" -max_total_time="$seconds" $limits \
    -artifact_prefix="$root/fuzz/findings/$target-" -print_final_stats=1 2>&1 |
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|Done' || true
  test "${PIPESTATUS[0]}" -eq 0
}
run_target fuzz_engine "$root"/examples/*.kv5d "$root"/fuzz/corpus/engine/*
run_target fuzz_record_reader "$root"/examples/*.kv5d
run_target fuzz_data_file "$root"/examples/*.kv5d
run_target fuzz_plot_file "$root"/app/graphs/tests/data/*.kv5p
run_target fuzz_evaluator "$root"/fuzz/corpus/evaluator/*
