#!/usr/bin/env bash
# Writes the seed corpus of the width mapping's fuzz target into a folder:
#   fuzz/make-width-corpus.sh build-fuzz/corpus/width_mapping_fuzz
# The target reads each input as UTF-8 and as 16-bit units, so the seeds
# come in both forms: both widths of ASCII, katakana with and without the
# voiced marks, the ideographic space, and text the tables leave alone.
set -euo pipefail

out=${1:?output folder}
mkdir -p "$out"

texts=(
    'ABC abc 012 !"#$%&~'
    'ＡＢＣ　ａｂｃ　０１２！＂＃＄％＆～'
    'ｶﾞｷﾞﾊﾟﾋﾟｳﾞｦｯｰ｡｢｣､･ﾞﾟ'
    'ガギパピヴヲッー。「」、・゛゜'
    'ﾞｶﾟﾊﾞﾞ ﾟ'
    $'犬\tねこ\r\n漢字 ひらがな 😀 ﾃｽﾄ'
    '￥＼～￣”’‘'
)
for i in "${!texts[@]}"; do
    printf '%s' "${texts[i]}" >"$out/utf8-$i"
    printf '%s' "${texts[i]}" | iconv -f UTF-8 -t UTF-16LE >"$out/utf16-$i"
done
# A cut UTF-8 character and a lone surrogate.
printf '\xef\xbd\xb6\xef\xbe' >"$out/utf8-cut"
printf '\x76\xff\x3d\xd8\x9e\xff' >"$out/utf16-lone-surrogate"

echo "seeds written to $out"
