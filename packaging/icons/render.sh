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
