#!/usr/bin/env bash
# Writes the word lists of bench/make-list.sh as one-column workbooks, the
# way LibreOffice Calc saves them (.xlsx and .ods), for bench/compare.sh:
#   bench/make-sheets.sh DIR      (DIR holds list-100000.txt, list-1000000.txt)
# Each line becomes one text cell of column A (the column is imported as
# text, so that no line turns into a number or a date). Workbooks already
# there are kept: Calc takes minutes over the million rows. Installs
# LibreOffice Calc when soffice is missing (apt-get, as root or through sudo).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:?folder of the lists}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! command -v soffice >/dev/null; then
    source "$root/scripts/lib/install-missing.sh"
    install_missing libreoffice-calc
fi

for lines in 100000 1000000; do
    base=list-$lines
    [[ -s $dir/$base.xlsx && -s $dir/$base.ods ]] && continue
    echo "Writing $base.xlsx and $base.ods with LibreOffice ..." >&2
    # Tab-separated UTF-8 without a text delimiter: a line is a cell, as it is.
    iconv -f CP932 -t UTF-8 "$dir/$base.txt" | tr -d '\r' >"$work/$base.csv"
    for kind in xlsx ods; do
        # CSV import: separator tab (9), no text delimiter (0), UTF-8 (76),
        # from row 1, column 1 as text (1/2).
        soffice -env:UserInstallation="file://$work/profile" --headless \
            --infilter="Text - txt - csv (StarCalc):9,0,76,1,1/2" \
            --convert-to "$kind" --outdir "$work" "$work/$base.csv" >/dev/null 2>&1
        mv "$work/$base.$kind" "$dir/$base.$kind"
    done
done
ls -l "$dir"/list-*.xlsx "$dir"/list-*.ods >&2
