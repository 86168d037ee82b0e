#!/usr/bin/env python3
"""Checks a screenshot of kivo.exe's main window for Japanese text drawn as
glyphs. A character the fonts cannot draw shows as the same empty box
whatever the character, so a run of text whose glyph shapes are nearly all
alike is a run of boxes.

usage: glyph-check.py <png> <client x> <client y> <width> <height>
"""
import subprocess
import sys


def read_gray(png, x, y, w, h):
    """The region as rows of grey levels, through imagemagick."""
    ppm = subprocess.run(
        ["convert", png, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
        check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:  # P6 width height maxval, then one blank
        while ppm[at:at + 1].isspace():
            at += 1
        end = at
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[at:end])
        at = end
    at += 1
    width, height = int(fields[1]), int(fields[2])
    pixels = ppm[at:]
    return [[(pixels[(r * width + c) * 3] * 11 + pixels[(r * width + c) * 3 + 1] * 16 +
              pixels[(r * width + c) * 3 + 2] * 5) // 32 for c in range(width)]
            for r in range(height)]


def distinct_glyph_shapes(rows):
    """Distinct ink shapes in a band, split at blank columns."""
    if not rows:
        return 0
    width = len(rows[0])
    inked = [any(row[c] < 110 for row in rows) for c in range(width)]
    shapes, c = set(), 0
    while c < width:
        if not inked[c]:
            c += 1
            continue
        shape = []
        while c < width and inked[c]:
            shape.append("".join("#" if row[c] < 110 else "." for row in rows))
            c += 1
        shapes.add("|".join(shape))
    return len(shapes)


def main():
    if len(sys.argv) != 6:
        print(__doc__)
        return 2
    png = sys.argv[1]
    left, top, width, height = (int(v) for v in sys.argv[2:])
    # Controls keep their distance to the client area's bottom edge; the
    # menu bar above them is the system's.
    box = top + height - 216 + 8
    regions = [
        ("button お題の選出", left + 4 + 232 + 4, box + 29 + 3, 145 - 8, 20 - 6, 4),
        ("label 今回のお題", left + 4 + 235, box + 101 - 2, 60, 16, 4),
        ("group box caption", left + 4 + 8, box - 6, 70, 14, 3),
        ("list", left + 4 + 12 + 4, box + 24 + 4, 120, 60, 3),
    ]
    failures = 0
    for what, x, y, w, h, least in regions:
        shapes = distinct_glyph_shapes(read_gray(png, x, y, w, h))
        print(f"{what}: {shapes} distinct glyph shapes")
        failures += shapes < least
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
