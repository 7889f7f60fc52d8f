#!/usr/bin/env bash
# The README's batch over several machines, run on this one: GNU parallel
# feeds korvel-run one data file per job with the README's command line, local
# jobs (-j2) standing in for the ssh logins. Every example must come back
# analysed, with its JSON summary and its three result files.
# Usage: parallel_batch_test.sh KORVEL_RUN EXAMPLES_DIR
set -euo pipefail
korvel_run=$1
examples=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v parallel >/dev/null || fail "GNU parallel is not installed (scripts/install-deps.sh)"

study=$(mktemp -d)
trap 'rm -rf "$study"' EXIT
cp "$examples"/*.kv5d "$study/"
# parallel's first-run notice would go to a terminal only; keep its state away from ~.
export HOME="$study/home"
mkdir "$HOME"

ls "$study"/*.kv5d | parallel -j2 \
    "$korvel_run" --json {.}.json {} >"$study/log" 2>&1 || fail "parallel: $(tail -n 4 "$study/log")"

count=0
for data in "$study"/*.kv5d; do
  base=${data%.kv5d}
  for ext in kv5o kv5p kv5r json; do
    [ -s "$base.$ext" ] || fail "$(basename "$base.$ext") is missing"
  done
  grep -q '"status": "analysed"' "$base.json" || fail "$(basename "$data"): $(cat "$base.json")"
  grep -q '"failures": 0' "$base.json" || fail "$(basename "$data") counts a failure"
  grep -q "\"file\": \"$data\"" "$base.json" || fail "$(basename "$base.json") names another file"
  tail -n 3 "$base.kv5o" | grep -q "END OF ANALYSIS" || fail "$(basename "$base.kv5o") is cut short"
  count=$((count + 1))
done
[ "$count" -ge 10 ] || fail "only $count examples"
echo "parallel batch: $count files analysed"
