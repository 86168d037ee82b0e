#!/bin/bash
# Renders the PNG sizes of the icon from its SVG (rsvg-convert, Debian's
# librsvg2-bin). Run it after changing the SVG and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
name=jp.example.quillery.kivo
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "scalable/apps/$name.svg" -o "${size}x${size}/apps/$name.png"
done
# The Windows icon (kivo.exe's resource) from the same PNGs (imagemagick).
convert 16x16/apps/$name.png 24x24/apps/$name.png 32x32/apps/$name.png 48x48/apps/$name.png \
    64x64/apps/$name.png 256x256/apps/$name.png ../kivo.ico
