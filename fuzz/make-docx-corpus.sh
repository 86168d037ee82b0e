#!/usr/bin/env bash
# Writes the seed corpus of the .docx reader's fuzz target into a folder,
# and when given a second path a libFuzzer dictionary there:
#   fuzz/make-docx-corpus.sh build-fuzz/corpus/docx_fuzz build-fuzz/docx_fuzz.dict
# The target reads its first byte as the mode (fuzz/DocxFuzz.cpp): the
# LibreOffice document of the tests as a whole archive (even), and its
# document.xml and hand-made bodies as XML that the target packs itself
# (odd).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?output folder}
dict=${2:-}
mkdir -p "$out"
docx=$here/../tests/data/word-libreoffice-list.docx

{ printf '\x00'; cat "$docx"; } >"$out/libreoffice.docx"
if command -v unzip >/dev/null; then
    { printf '\x01'; unzip -p "$docx" word/document.xml; } >"$out/libreoffice-xml-stored"
    { printf '\x13'; unzip -p "$docx" word/document.xml; } >"$out/libreoffice-xml-deflated"
fi

ns='xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006"'
body() { printf '\x05<?xml version="1.0"?><w:document %s><w:body>%s</w:body></w:document>' "$ns" "$1"; }
body '<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b &amp; &#x732B;</w:t><w:br/><w:br w:type="page"/></w:r></w:p>' >"$out/runs"
body '<w:p><w:r><w:fldChar w:fldCharType="begin"/><w:instrText>PAGE</w:instrText><w:fldChar w:fldCharType="separate"/><w:t>1</w:t><w:fldChar w:fldCharType="end"/></w:r><w:fldSimple w:instr="X"><w:r><w:t>2</w:t></w:r></w:fldSimple></w:p>' >"$out/fields"
body '<w:p><w:pPr><w:rPr><w:del/></w:rPr></w:pPr><w:del><w:r><w:delText>x</w:delText></w:r></w:del><w:ins><w:r><w:t>y</w:t></w:r></w:ins></w:p><w:p/>' >"$out/revisions"
body '<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc></w:tr></w:tbl><mc:AlternateContent><mc:Fallback><w:txbxContent/></mc:Fallback></mc:AlternateContent>' >"$out/table"
printf '\x07<!DOCTYPE d [<!ENTITY e "x">]><!-- c --><?pi x?><d a="1" b=\x27>\x27><![CDATA[<t>]]>&e;</d>' >"$out/markup"
echo "seeds written to $out"

[[ -n $dict ]] || exit 0
{
    for w in '<w:p>' '</w:p>' '<w:r>' '</w:r>' '<w:t>' '</w:t>' '<w:tab/>' '<w:br/>' '<w:cr/>' \
        '<w:del>' '</w:del>' '<w:ins>' '<w:moveFrom>' '<w:pPr>' '<w:rPr>' '<w:instrText>' \
        '<w:txbxContent>' '<mc:Fallback>' 'w:fldCharType=' 'begin' 'separate' 'end' \
        'w:type=' 'page' '<![CDATA[' ']]>' '<!--' '-->' '<?' '?>' '<!DOCTYPE' '&amp;' '&#x' \
        'xmlns:w=' 'http://schemas.openxmlformats.org/wordprocessingml/2006/main' \
        'word/document.xml'; do
        printf '"%s"\n' "${w//\"/\\\"}"
    done
    printf '"%s"\n' 'PK\x03\x04' 'PK\x01\x02' 'PK\x05\x06'
} >"$dict"
echo "dictionary of $(wc -l <"$dict") words in $dict"
