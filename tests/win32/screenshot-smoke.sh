#!/bin/bash
# Starts kivo.exe under Wine (the display and the Japanese prefix are
# scripts/test-windows') with a code page 932 file on its command line,
# waits for the caption that names the file, screenshots the screen and
# checks that the Japanese texts are drawn as glyphs rather than boxes.
# usage: screenshot-smoke.sh <kivo.exe> <out.png>
set -euo pipefail
kivo=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in wine xwininfo import convert python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool (run scripts/test-windows)"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "no display (run scripts/test-windows)"; exit 1; }

dir=$(mktemp -d)
# 犬, 猫, ソ (its second byte is "\"), 表 in code page 932.
printf '\x8c\xa2\r\n\x94\x4c\r\n\x83\x5c\x83\x74\x83\x40\r\n\x95\x5c\r\n' >"$dir/動物.txt"
wine "$kivo" "$(winepath -w "$dir/動物.txt")" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$dir"' EXIT
caption='動物.txt  >>>  Kivo version 1.33'
for _ in $(seq 200); do
    xwininfo -name "$caption" >/dev/null 2>&1 && break
    sleep 0.1
done
info=$(xwininfo -name "$caption") || { echo "no window captioned \"$caption\""; exit 1; }
echo "caption: $caption"
sleep 1  # let it paint
geometry() { echo "$info" | sed -n "s/^ *$1: *\\([0-9-]*\\).*/\\1/p"; }
x=$(geometry "Absolute upper-left X") y=$(geometry "Absolute upper-left Y")
w=$(geometry Width) h=$(geometry Height)
import -window root "$out"
python3 "$here/glyph-check.py" "$out" "$x" "$y" "$w" "$h"
