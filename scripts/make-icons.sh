#!/usr/bin/env bash
# Renders the program icon packaging/icons/korvel.svg into the PNG sizes of the
# hicolor icon theme (packaging/icons/korvel-SIZE.png). The PNGs are kept in
# git, so building needs no SVG renderer; run this after changing the SVG.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/korvel.svg" -o "$icons/korvel-$size.png"
done
