#!/usr/bin/env bash
# Writes the seed corpus of a reader of workbooks or OpenDocuments into a
# folder, and when given a third path a libFuzzer dictionary there:
#   fuzz/make-office-corpus.sh spreadsheet_fuzz build-fuzz/corpus/spreadsheet_fuzz d.dict
#   fuzz/make-office-corpus.sh open_document_fuzz build-fuzz/corpus/open_document_fuzz d.dict
# The targets read their first byte as the mode (fuzz/SpreadsheetFuzz.cpp,
# fuzz/OpenDocumentFuzz.cpp): the LibreOffice documents of the tests whole
# (even), and their parts as XML the target packs itself (odd); with bit 3
# set, the sheets a section per column.
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
    { printf '\x08'; cat "$xlsx"; } >"$out/libreoffice-by-columns.xlsx"
    if command -v unzip >/dev/null; then
        { printf '\x01'; unzip -p "$xlsx" xl/worksheets/sheet1.xml; } >"$out/sheet-stored"
        { printf '\x09'; unzip -p "$xlsx" xl/worksheets/sheet1.xml; } >"$out/sheet-by-columns"
        { printf '\x03'; unzip -p "$xlsx" xl/worksheets/sheet3.xml; } >"$out/sheet-deflated"
        { printf '\x05'; unzip -p "$xlsx" xl/sharedStrings.xml; } >"$out/strings"
    fi
    printf '\x09<worksheet><sheetData><row><c r="B1" t="inlineStr"><is><t> a_x000D_b </t></is></c><c t="str"><v>c</v></c></row><row><c r="D2" t="str"><v>d</v></c><c r="AA2" t="s"><v>0</v></c></row></sheetData></worksheet>' >"$out/columns"
    printf '\x01<worksheet><sheetData><row><c t="inlineStr"><is><r><t>a_x000D_b</t></r><rPh><t>y</t></rPh></is></c><c t="b"><v>1</v></c><c t="e"><v>#N/A</v></c><c t="str"><v>s</v></c><c><v>-1.5E+300</v></c></row></sheetData></worksheet>' >"$out/cells"
    words=('<sheetData>' '<row>' '</row>' '<c ' '</c>' '<v>' '</v>' 't="s"' 't="b"' 't="e"'
        't="str"' 't="inlineStr"' 'r="A1"' 'r="XFD1"' '<is>' '<t>' '</t>' '<r>' '<rPh>' '<si>' '</si>' '<sst>'
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
    { printf '\x08'; cat "$data/calc-libreoffice-list.ods"; } >"$out/libreoffice-by-columns-ods"
    if command -v unzip >/dev/null; then
        { printf '\x09'; unzip -p "$data/calc-libreoffice-list.ods" content.xml; } >"$out/content-by-columns-ods"
    fi
    for f in calc-libreoffice-list.fods writer-libreoffice-list.fodt; do
        { printf '\x00'; cat "$data/$f"; } >"$out/libreoffice-${f##*.}"
    done
    words=('<table:table-row' '<table:table-cell' '</table:table-cell>' '</table:table-row>'
        'table:number-rows-repeated=' 'table:number-columns-repeated=' '<table:covered-table-cell/>'
        '<table:covered-table-cell ' 'table:number-columns-spanned=' '</table:table>' '<table:table>'
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
