#!/usr/bin/env bash
# Writes the seed corpus of a reader of workbooks or OpenDocuments into a
# folder, and when given a third path a libFuzzer dictionary there:
#   fuzz/make-office-corpus.sh spreadsheet_fuzz build-fuzz/corpus/spreadsheet_fuzz d.dict
#   fuzz/make-office-corpus.sh open_document_fuzz build-fuzz/corpus/open_document_fuzz d.dict
# The targets read their first byte as the mode (fuzz/SpreadsheetFuzz.cpp,
# fuzz/OpenDocumentFuzz.cpp): the LibreOffice documents of the tests whole
# (even), and their parts as XML the target packs itself (odd).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
target=${1:?target}
out=${2:?output folder}
dict=${3:-}
mkdir -p "$out"
data=$here/../tests/data

case $target in
spreadsheet_fuzz)
    xlsx=$data/calc-libreoffice-list.xlsx
    { printf '\x00'; cat "$xlsx"; } >"$out/libreoffice.xlsx"
    if command -v unzip >/dev/null; then
        { printf '\x01'; unzip -p "$xlsx" xl/worksheets/sheet1.xml; } >"$out/sheet-stored"
        { printf '\x03'; unzip -p "$xlsx" xl/worksheets/sheet3.xml; } >"$out/sheet-deflated"
        { printf '\x05'; unzip -p "$xlsx" xl/sharedStrings.xml; } >"$out/strings"
    fi
    printf '\x01<worksheet><sheetData><row><c t="inlineStr"><is><r><t>a_x000D_b</t></r><rPh><t>y</t></rPh></is></c><c t="b"><v>1</v></c><c t="e"><v>#N/A</v></c><c t="str"><v>s</v></c><c><v>-1.5E+300</v></c></row></sheetData></worksheet>' >"$out/cells"
    words=('<sheetData>' '<row>' '</row>' '<c ' '</c>' '<v>' '</v>' 't="s"' 't="b"' 't="e"'
        't="str"' 't="inlineStr"' '<is>' '<t>' '</t>' '<r>' '<rPh>' '<si>' '</si>' '<sst>'
        '_x000D_' '_x005F_' 'E+' 'E-' 'state="hidden"' 'r:id=' '<sheet ' '<Relationship '
        'xl/workbook.xml' 'xl/_rels/workbook.xml.rels' 'xl/sharedStrings.xml' 'worksheets/')
    ;;
open_document_fuzz)
    for f in calc-libreoffice-list.ods writer-libreoffice-list.odt; do
        { printf '\x00'; cat "$data/$f"; } >"$out/libreoffice-${f##*.}"
        if command -v unzip >/dev/null; then
            { printf '\x01'; unzip -p "$data/$f" content.xml; } >"$out/content-${f##*.}"
        fi
    done
    for f in calc-libreoffice-list.fods writer-libreoffice-list.fodt; do
        { printf '\x00'; cat "$data/$f"; } >"$out/libreoffice-${f##*.}"
    done
    words=('<table:table-row' '<table:table-cell' '</table:table-cell>' '</table:table-row>'
        'table:number-rows-repeated=' 'table:number-columns-repeated=' '<table:covered-table-cell/>'
        '<text:p>' '</text:p>' '<text:h>' '<text:s text:c=' '<text:tab/>' '<text:line-break/>'
        '<text:note>' '<office:annotation>' '<text:tracked-changes>' '<office:body>'
        '<office:spreadsheet>' '<office:text>' 'calcext:value-type="error"' 'table:display="false"'
        'style:family="table"' 'mimetype' 'application/vnd.oasis.opendocument.spreadsheet'
        'application/vnd.oasis.opendocument.text' 'content.xml')
    ;;
*)
    echo "no seeds for $target" >&2
    exit 2
    ;;
esac
echo "seeds written to $out"

[[ -n $dict ]] || exit 0
{
    for w in "${words[@]}"; do printf '"%s"\n' "${w//\"/\\\"}"; done
    printf '"%s"\n' 'PK\x03\x04' 'PK\x01\x02' 'PK\x05\x06'
} >"$dict"
echo "dictionary of $(wc -l <"$dict") words in $dict"
