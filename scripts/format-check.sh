#!/usr/bin/env bash
# Checks that every C++ file in the tree is laid out by the tree's .clang-format
# (clang-format 14, Debian 12); names the files that are not and exits 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
command -v clang-format >/dev/null || {
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends clang-format
}
bad=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "format-check: not laid out by .clang-format (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format-check: OK ($(git ls-files '*.cpp' '*.h' | wc -l) files)"
