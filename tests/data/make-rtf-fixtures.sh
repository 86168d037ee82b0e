#!/usr/bin/env bash
# Writes the RTF fixtures of the RTF reader's tests with LibreOffice Writer:
#   tests/data/make-rtf-fixtures.sh
# Needs soffice (Debian: apt-get install --no-install-recommends libreoffice-writer).
# The reader's tests pin the lines these documents give, so rerun this only
# on purpose, and update the expected lines in tests/files/RtfReaderTest.cpp
# if a newer LibreOffice writes them differently.
#
#   rtf-libreoffice-lines.rtf      a UTF-8 text file: kanji, kana, half-width
#                                  katakana, ASCII, an emoji, RTF's own
#                                  special characters, an empty line
#   rtf-libreoffice-formatted.rtf  bold, italic, colour, size, underline and a
#                                  Japanese font name; a tab, a line break, a
#                                  hyperlink, a no-break space
#   rtf-libreoffice-structure.rtf  what must not reach the list: header,
#                                  footer, footnote, list numbers, a picture,
#                                  a bookmark; a table and a page break
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert() {
    # A profile of its own, so a user's LibreOffice settings change nothing.
    soffice -env:UserInstallation="file://$work/profile" --headless "$@" --outdir "$work/out" \
        >/dev/null
}

printf '%s\n' '猫' 'ひらがなとカタカナ' 'ｶﾞｷﾞｸﾞ' 'plain ASCII' '' '絵文字😀' '{波括弧} と \円記号' \
    >"$work/lines.txt"
convert --infilter="Text (encoded):UTF8,LF,,," --convert-to rtf "$work/lines.txt"
cp "$work/out/lines.rtf" "$here/rtf-libreoffice-lines.rtf"

ns='xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text"'

cat >"$work/formatted.fodt" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<office:document $ns>
 <office:font-face-decls>
  <style:font-face style:name="ＭＳ 明朝" svg:font-family="'ＭＳ 明朝'"/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="T1" style:family="text"><style:text-properties
   fo:font-weight="bold" style:font-weight-asian="bold"/></style:style>
  <style:style style:name="T2" style:family="text"><style:text-properties fo:color="#c00000"
   fo:font-size="16pt" style:font-size-asian="16pt" fo:font-style="italic"
   style:font-style-asian="italic"/></style:style>
  <style:style style:name="T3" style:family="text"><style:text-properties
   style:text-underline-style="solid" style:text-underline-width="auto"
   style:font-name="ＭＳ 明朝" style:font-name-asian="ＭＳ 明朝"/></style:style>
  <style:style style:name="T4" style:family="text"><style:text-properties
   fo:font-weight="bold"/></style:style>
 </office:automatic-styles>
 <office:body><office:text>
  <text:p>猫と<text:span text:style-name="T1">太字</text:span>の犬</text:p>
  <text:p><text:span text:style-name="T2">赤い</text:span>花<text:tab/>タブ</text:p>
  <text:p/>
  <text:p><text:span text:style-name="T3">下線</text:span>ﾃﾞｰﾀ<text:line-break/>改行後</text:p>
  <text:p>リンク<text:a xlink:type="simple" xlink:href="https://example.com/">例</text:a>です</text:p>
  <text:p>A&#160;B <text:span text:style-name="T4">bold</text:span> 😀</text:p>
 </office:text></office:body>
</office:document>
EOF
convert --convert-to rtf "$work/formatted.fodt"
cp "$work/out/formatted.rtf" "$here/rtf-libreoffice-formatted.rtf"

# A 4 x 4 red PNG.
png='iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGP4z8AARwzEcQCukw/x0F8jngAAAABJRU5ErkJggg=='
cat >"$work/structure.fodt" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<office:document $ns>
 <office:styles>
  <text:list-style style:name="Num"><text:list-level-style-number text:level="1"
   style:num-format="1" style:num-suffix="."/></text:list-style>
 </office:styles>
 <office:automatic-styles>
  <style:style style:name="PB" style:family="paragraph"><style:paragraph-properties
   fo:break-before="page"/></style:style>
  <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="21cm"
   fo:page-height="29.7cm"/><style:header-style/><style:footer-style/></style:page-layout>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1">
   <style:header><text:p>ヘッダー</text:p></style:header>
   <style:footer><text:p>フッター</text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body><office:text>
  <text:p>見出し<text:note text:id="n1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>脚注</text:p></text:note-body></text:note></text:p>
  <text:list text:style-name="Num">
   <text:list-item><text:p>りんご</text:p></text:list-item>
   <text:list-item><text:p>みかん</text:p></text:list-item>
  </text:list>
  <table:table table:name="T"><table:table-column table:number-columns-repeated="2"/>
   <table:table-row><table:table-cell><text:p>左</text:p></table:table-cell><table:table-cell><text:p>右</text:p></table:table-cell></table:table-row>
  </table:table>
  <text:p>絵<draw:frame draw:name="img" text:anchor-type="as-char" svg:width="0.5cm" svg:height="0.5cm"><draw:image><office:binary-data>$png</office:binary-data></draw:image></draw:frame>の後</text:p>
  <text:p text:style-name="PB">改ページ後<text:bookmark text:name="bm"/></text:p>
  <text:p>最後</text:p>
 </office:text></office:body>
</office:document>
EOF
convert --convert-to rtf "$work/structure.fodt"
cp "$work/out/structure.rtf" "$here/rtf-libreoffice-structure.rtf"

ls -l "$here"/rtf-libreoffice-*.rtf
