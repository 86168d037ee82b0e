#!/usr/bin/env bash
# Writes the spreadsheet and OpenDocument fixtures of the loader's tests
# with LibreOffice, from the flat documents below:
#   tests/data/make-office-fixtures.sh
# Installs LibreOffice Calc and Writer when soffice is missing (apt-get, as
# root or through sudo); nothing else needs them. The tests pin the lines
# these documents give (tests/files/OfficeDocumentsTest.cpp), so rerun this
# only on purpose, and check those lines if a newer LibreOffice writes them
# differently. The fuzz corpora are seeded from them too.
#
#   calc-libreoffice-list.xlsx    one workbook as Excel 2007-365 and as
#   calc-libreoffice-list.ods     Calc writes it, packed and flat
#   calc-libreoffice-list.fods
#   writer-libreoffice-list.odt   one text as Writer writes it, packed and
#   writer-libreoffice-list.fodt  flat
#
# The workbook: Japanese text, integers, decimals, large and tiny numbers,
# formulas (a number, a text, a boolean and an error), an empty row, a
# merged area, a cell of two lines, a hidden sheet and a second visible one
# with repeated cells and rows. The text: a heading, spaces and a tab, a
# line break, a list, a table, a footnote, a comment, a tracked deletion.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! command -v soffice >/dev/null; then
    source "$here/../../scripts/lib/install-missing.sh"
    install_missing libreoffice-calc libreoffice-writer
fi

convert() {
    # A profile of its own, so a user's LibreOffice settings change nothing.
    soffice -env:UserInstallation="file://$work/profile" --headless "$@" --outdir "$work/out" \
        >/dev/null
}

namespaces='xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 xmlns:dc="http://purl.org/dc/elements/1.1/"'

text() { echo "<table:table-cell office:value-type=\"string\"><text:p>$1</text:p></table:table-cell>"; }
number() { echo "<table:table-cell office:value-type=\"float\" office:value=\"$1\"/>"; }
formula() { echo "<table:table-cell table:formula=\"of:=$1\"/>"; }

mkdir -p "$work/in"
cat >"$work/in/calc-libreoffice-list.fods" <<FODS
<?xml version="1.0" encoding="UTF-8"?>
<office:document $namespaces
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <style:style style:name="hidden" style:family="table"><style:table-properties table:display="false"/></style:style>
 </office:automatic-styles>
 <office:body><office:spreadsheet>
  <table:table table:name="一覧">
   <table:table-row>$(text 犬)$(text 猫と鳥)</table:table-row>
   <table:table-row>$(number 123)$(number 3.14)$(number -0.5)</table:table-row>
   <table:table-row>$(number 12345678901)$(number 1234567890123)$(number 0.000000000123)$(number 1234.56789012345)</table:table-row>
   <table:table-row>$(formula '[.A2]*2')$(formula '1/3')$(formula '0.1+0.2')$(formula '[.A1]&amp;&quot;小屋&quot;')$(formula '1/0')</table:table-row>
   <table:table-row><table:table-cell/></table:table-row>
   <table:table-row><table:table-cell table:number-columns-spanned="2" office:value-type="string"><text:p>結合</text:p></table:table-cell><table:covered-table-cell/>$(text 右)</table:table-row>
   <table:table-row><table:table-cell office:value-type="string"><text:p>改行前</text:p><text:p>改行後</text:p></table:table-cell></table:table-row>
   <table:table-row>$(number 100000000000)$(number 0.000000001)$(formula '1&lt;2')</table:table-row>
  </table:table>
  <table:table table:name="隠し" table:style-name="hidden">
   <table:table-row>$(text 秘密)</table:table-row>
  </table:table>
  <table:table table:name="二枚目">
   <table:table-row>$(text 鳥)$(number 42)</table:table-row>
   <table:table-row>$(text 繰)$(text 繰)</table:table-row>
   <table:table-row>$(text 同じ)</table:table-row>
   <table:table-row>$(text 同じ)</table:table-row>
  </table:table>
 </office:spreadsheet></office:body>
</office:document>
FODS

cat >"$work/in/writer-libreoffice-list.fodt" <<FODT
<?xml version="1.0" encoding="UTF-8"?>
<office:document $namespaces
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:body><office:text>
  <text:tracked-changes>
   <text:changed-region text:id="d1"><text:deletion><office:change-info><dc:creator>Kivo</dc:creator><dc:date>2024-01-01T00:00:00</dc:date></office:change-info><text:p>削除</text:p></text:deletion></text:changed-region>
  </text:tracked-changes>
  <text:h text:outline-level="1">見出し</text:h>
  <text:p>犬</text:p>
  <text:p>猫<text:s text:c="2"/>と鳥</text:p>
  <text:p>タブ<text:tab/>区切り</text:p>
  <text:p>改行前<text:line-break/>改行後</text:p>
  <text:list><text:list-item><text:p>一つ目</text:p></text:list-item><text:list-item><text:p>二つ目</text:p></text:list-item></text:list>
  <table:table table:name="T"><table:table-column table:number-columns-repeated="2"/>
   <table:table-row><table:table-cell><text:p>春</text:p></table:table-cell><table:table-cell><text:p>夏</text:p></table:table-cell></table:table-row>
   <table:table-row><table:table-cell><text:p>秋</text:p></table:table-cell><table:table-cell><text:p>冬</text:p></table:table-cell></table:table-row>
  </table:table>
  <text:p>注の前<text:note text:id="n1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>脚注</text:p></text:note-body></text:note>後</text:p>
  <text:p>コメント<office:annotation><dc:creator>Kivo</dc:creator><text:p>注釈</text:p></office:annotation>付き</text:p>
  <text:p>残す<text:change text:change-id="d1"/>文字</text:p>
  <text:p/>
  <text:p>最後</text:p>
 </office:text></office:body>
</office:document>
FODT

convert --convert-to xlsx "$work/in/calc-libreoffice-list.fods"
convert --convert-to ods "$work/in/calc-libreoffice-list.fods"
convert --convert-to fods "$work/out/calc-libreoffice-list.ods"
convert --convert-to odt "$work/in/writer-libreoffice-list.fodt"
convert --convert-to fodt "$work/out/writer-libreoffice-list.odt"
for f in calc-libreoffice-list.{xlsx,ods,fods} writer-libreoffice-list.{odt,fodt}; do
    cp "$work/out/$f" "$here/$f"
done

ls -l "$here"/calc-libreoffice-* "$here"/writer-libreoffice-*
