#!/usr/bin/env bash
# Installs what is needed, builds, analyses a bundled example with korvel-run
# and prints the summary and the end of its report; then opens the example in
# the interactive program when a display is available.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
example=${1:-$root/examples/cantilever_english.kv5d}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
bin=${KORVEL_BUILD_DIR:-$root/build}/bin

status=0
"$bin/korvel-run" "$example" || status=$?
report="${example%.*}.kv5o"
if [ -f "$report" ]; then
  echo
  echo "---- end of $report ----"
  tail -n 40 "$report"
fi
if [ -n "${DISPLAY:-}" ] && [ -x "$bin/Korvel2015" ]; then
  "$bin/Korvel2015" "$example" &
fi
exit $status
