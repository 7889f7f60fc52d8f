#!/usr/bin/env bash
# Installs the build into an empty prefix (cmake --install) and checks the
# installed layout as a user meets it: korvel-run analyses an example with the
# engine found in lib/korvel/ (none beside it in bin/), both programs answer
# --version and --help the GNU way without a display, and bad usage of
# korvel-run goes to standard error with status 2.
# Usage: installed_layout_test.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
build=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix/usr" >/dev/null

for path in bin/korvel-run lib/korvel/libKorvel2015_DLL.so \
    share/applications/korvel.desktop share/mime/packages/korvel.xml \
    share/icons/hicolor/scalable/apps/korvel.svg share/icons/hicolor/48x48/apps/korvel.png \
    share/korvel/examples/cantilever_english.kv5d share/doc/korvel/README.md \
    share/doc/korvel/copyright share/man/man1/korvel-run.1.gz share/man/man1/Korvel2015.1.gz; do
  [ -f "$prefix/usr/$path" ] || fail "$path is not installed"
done
[ ! -e "$prefix/usr/bin/libKorvel2015_DLL.so" ] || fail "the engine is in bin/ as well"

# An analysis from another folder, through the engine in lib/korvel/.
work="$prefix/work"
mkdir "$work"
cp "$prefix/usr/share/korvel/examples/cantilever_english.kv5d" "$work/wall.kv5d"
out=$(cd / && "$prefix/usr/bin/korvel-run" "$work/wall.kv5d") || fail "korvel-run: $out"
grep -q "wall.kv5d: analysed, 1 section(s)" <<<"$out" || fail "korvel-run said: $out"
tail -n 3 "$work/wall.kv5o" | grep -q "END OF ANALYSIS" || fail "the report does not end the analysis"

# The section catalogue in share/korvel/, found from bin/ as in the build tree.
[ -f "$prefix/usr/share/korvel/sheet_piles.csv" ] || fail "the section catalogue is not installed"
out=$("$prefix/usr/bin/korvel-run" --list-sections) || fail "korvel-run --list-sections: $out"
grep -q "^PZ 27	I 184.2	W_el 30.2" <<<"$out" || fail "--list-sections said: $out"
out=$("$prefix/usr/bin/korvel-run" --section "PZ 27" --grade A572-50 --code ASD "$work/wall.kv5d") ||
  fail "korvel-run --section: $out"
grep -q "section 1: design PZ 27 A572-50 ASD: moment " <<<"$out" || fail "the design run said: $out"

# --version: the first line names the program, the package and the version.
check_info() {
  local program=$1 first_line=$2 out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/usr/bin/$program" --version 2>&1) ||
    fail "$program --version exited with $?"
  [ "$(head -n 1 <<<"$out")" = "$first_line" ] || fail "$program --version said: $out"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/usr/bin/$program" --help 2>/dev/null) ||
    fail "$program --help exited with $?"
  grep -q "^Usage: $program " <<<"$out" || fail "$program --help has no usage line: $out"
  grep -q -- "--version" <<<"$out" || fail "$program --help does not name --version"
}
check_info korvel-run "korvel-run (KORVEL) $version"
if [ -f "$prefix/usr/bin/Korvel2015" ]; then
  check_info Korvel2015 "Korvel2015 (KORVEL) $version"
fi

# Bad usage: nothing on standard output, the reason on standard error, status 2.
set +e
"$prefix/usr/bin/korvel-run" --no-such-option "$work/wall.kv5d" >"$prefix/out" 2>"$prefix/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "bad usage exited with $status"
[ ! -s "$prefix/out" ] || fail "bad usage wrote to standard output"
grep -q "unknown option --no-such-option" "$prefix/err" || fail "bad usage said: $(cat "$prefix/err")"
echo "installed layout: OK"
