#!/usr/bin/env bash
# Renders the program icon (resources/desktop/org.corkvane.Corkvane.svg) into the PNG sizes the
# hicolor theme asks for (resources/desktop/icons/<size>.png). The PNGs are kept in the
# repository; run this after changing the SVG. Needs ImageMagick (Debian imagemagick).
set -euo pipefail
cd "$(dirname "$0")/../resources/desktop"
mkdir -p icons
for size in 16 22 24 32 48 64 128 256; do
  convert -background none -density 300 org.corkvane.Corkvane.svg -resize "${size}x${size}" "png32:icons/${size}.png"
done
