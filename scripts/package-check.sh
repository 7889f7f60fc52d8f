#!/usr/bin/env bash
# Builds the Debian package in the build folder (cpack -G DEB) and checks it
# without installing it: unpacked into an empty folder (dpkg-deb -x), its
# korvel-run analyses an example with the engine of the unpacked tree; the
# package's dependencies came from the libraries; the desktop entry passes
# desktop-file-validate; the MIME file is valid XML with the three patterns;
# the manual pages format without warnings.
# Run after scripts/build.sh (or scripts/test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVEL_BUILD_DIR:-$root/build}
fail() { echo "package-check: FAIL: $*" >&2; exit 1; }

cd "$build"
rm -f korvel_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; fail "cpack"; }
deb=$(ls korvel_*.deb)
echo "package-check: built $deb"

# Control fields: version of the project, a maintainer, found dependencies.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), project $version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree/root"
usr="$tree/root/usr"
for path in bin/Korvel2015 bin/korvel-run lib/korvel/libKorvel2015_DLL.so \
    share/applications/korvel.desktop share/mime/packages/korvel.xml \
    share/icons/hicolor/scalable/apps/korvel.svg share/icons/hicolor/256x256/apps/korvel.png \
    share/doc/korvel/copyright share/doc/korvel/README.md share/doc/korvel/changelog.gz \
    share/man/man1/korvel-run.1.gz share/man/man1/Korvel2015.1.gz; do
  [ -f "$usr/$path" ] || fail "$path is not in the package"
done

# The copyright file is in Debian's machine-readable format and names KORVEL's
# own licence and every library the programs link.
copyright="$usr/share/doc/korvel/copyright"
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
grep -q '^License: GPL-3+$' "$copyright" || fail "copyright does not state GPL-3+"
for lib in libqt6widgets6 libqt6charts6 libqt6svg6 libqt6printsupport6 libxlsxwriter4 zlib1g; do
  grep -q "debian-package:$lib" "$copyright" || fail "copyright does not name $lib"
done

# The unpacked korvel-run, started from another folder, finds its engine in
# usr/lib/korvel/ of the unpacked tree.
mkdir "$tree/work"
cp "$usr/share/korvel/examples/tiedback_si.kv5d" "$tree/work/"
out=$(cd / && "$usr/bin/korvel-run" "$tree/work/tiedback_si.kv5d") || fail "korvel-run: $out"
echo "$out"
grep -q "tiedback_si.kv5d: analysed" <<<"$out" || fail "not analysed"
"$usr/bin/korvel-run" --version | grep -qx "korvel-run (KORVEL) $version" || fail "korvel-run --version"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/Korvel2015" --version |
  grep -qx "Korvel2015 (KORVEL) $version" || fail "Korvel2015 --version"

desktop-file-validate "$usr/share/applications/korvel.desktop" || fail "desktop entry"
grep -q "^MimeType=application/x-korvel-data;" "$usr/share/applications/korvel.desktop" ||
  fail "the desktop entry does not open the data-file type"

mime="$usr/share/mime/packages/korvel.xml"
xmllint --noout "$mime" || fail "MIME file is not well-formed XML"
globs=$(xmllint --xpath "//*[local-name()='mime-type'][@type='application/x-korvel-data']/*[local-name()='glob']/@pattern" "$mime")
for pattern in '*.kv5d' '*.kv4d' '*.kvd'; do
  grep -qF "pattern=\"$pattern\"" <<<"$globs" || fail "MIME type lacks $pattern"
done
# The MIME database accepts it and then knows the files by their names.
mkdir -p "$tree/mime/packages"
cp "$mime" "$tree/mime/packages/"
XDG_DATA_HOME="$tree" update-mime-database "$tree/mime" 2>&1 | { grep . && fail "update-mime-database complained"; true; }
grep -q "application/x-korvel-data:\*\.kv5d" "$tree/mime/globs" || fail "the MIME database lacks *.kv5d"

for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
echo "package-check: OK ($(du -k "$deb" | cut -f1) KiB; Depends: $depends)"
