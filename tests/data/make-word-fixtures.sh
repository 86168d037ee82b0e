#!/usr/bin/env bash
# Writes the Word fixtures of the loader's tests with LibreOffice Writer, one
# small Japanese list saved as Word 97–2003 (.doc) and as Office Open XML
# (.docx):
#   tests/data/make-word-fixtures.sh
# Installs LibreOffice Writer when soffice is missing (apt-get, as root or
# through sudo); nothing else needs it. The tests pin the lines these
# documents give (tests/files/WordDocumentsTest.cpp), so rerun this only on
# purpose, and check those lines if a newer LibreOffice writes them
# differently.
#
#   word-libreoffice-list.doc   the list as Word 97 writes it: text in
#   word-libreoffice-list.docx  pieces, not at the fixed places of old Word
#
# The list: kanji, kana, half-width katakana, a tab, a line break inside a
# paragraph, a 2 x 2 table, a page-number field (its code left out, its
# result kept), a tracked deletion and a tracked insertion, an emoji, and a
# paragraph of 3,004 characters, longer than any sector or block.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! command -v soffice >/dev/null; then
    source "$here/../../scripts/lib/install-missing.sh"
    install_missing libreoffice-writer
fi

convert() {
    # A profile of its own, so a user's LibreOffice settings change nothing.
    soffice -env:UserInstallation="file://$work/profile" --headless "$@" --outdir "$work/out" \
        >/dev/null
}

long=長い段落
for ((i = 0; i < 300; i++)); do long+=あいうえおかきくけこ; done

cat >"$work/list.fodt" <<FODT
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:body><office:text>
  <text:tracked-changes>
   <text:changed-region text:id="d1"><text:deletion><office:change-info><dc:creator>Kivo</dc:creator><dc:date>2024-01-01T00:00:00</dc:date></office:change-info><text:p>削除</text:p></text:deletion></text:changed-region>
   <text:changed-region text:id="i1"><text:insertion><office:change-info><dc:creator>Kivo</dc:creator><dc:date>2024-01-01T00:00:00</dc:date></office:change-info></text:insertion></text:changed-region>
  </text:tracked-changes>
  <text:p>犬</text:p>
  <text:p>猫と鳥</text:p>
  <text:p>ｶﾀｶﾅ半角</text:p>
  <text:p>タブ<text:tab/>区切り</text:p>
  <text:p>改行前<text:line-break/>改行後</text:p>
  <table:table table:name="T"><table:table-column table:number-columns-repeated="2"/>
   <table:table-row><table:table-cell><text:p>春</text:p></table:table-cell><table:table-cell><text:p>夏</text:p></table:table-cell></table:table-row>
   <table:table-row><table:table-cell><text:p>秋</text:p></table:table-cell><table:table-cell><text:p>冬</text:p></table:table-cell></table:table-row>
  </table:table>
  <text:p>ページ<text:page-number text:select-page="current">1</text:page-number></text:p>
  <text:p>残す<text:change text:change-id="d1"/>文字<text:change-start text:change-id="i1"/>と挿入<text:change-end text:change-id="i1"/></text:p>
  <text:p>絵文字😀</text:p>
  <text:p>$long</text:p>
  <text:p>最後</text:p>
 </office:text></office:body>
</office:document>
FODT
convert --convert-to doc "$work/list.fodt"
convert --convert-to docx "$work/list.fodt"
cp "$work/out/list.doc" "$here/word-libreoffice-list.doc"
cp "$work/out/list.docx" "$here/word-libreoffice-list.docx"

ls -l "$here"/word-libreoffice-*
