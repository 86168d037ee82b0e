#!/usr/bin/env bash
# Writes the seed corpus of the plain-text fuzz target into a folder:
#   fuzz/make-text-corpus.sh build-fuzz/corpus/text_decoding_fuzz
# The same short Japanese list in each form a text file reaches the program
# in (code page 932, UTF-8 with and without a byte-order mark, UTF-16 both
# ways), every kind of line break, and broken bytes of each form.
set -euo pipefail

out=${1:?output folder}
mkdir -p "$out"

list=$'犬\n猫と鳥\nｶﾀｶﾅ半角ﾊﾟ\nＡＢＣ全角　空白\n漢字かなカナ mixed 123\n～①㈱髙\n'

# seed NAME ENCODING [PREFIX]: the list in an encoding, behind a prefix.
seed() {
    { printf "${3:-}"; printf '%s' "$list" | iconv -f UTF-8 -t "$2"; } >"$out/$1"
}

seed cp932 CP932
seed utf8 UTF-8
seed utf8-bom UTF-8 '\xEF\xBB\xBF'
seed utf16le UTF-16LE '\xFF\xFE'
seed utf16be UTF-16BE '\xFE\xFF'
printf '%s' "${list//$'\n'/$'\r\n'}" | iconv -f UTF-8 -t CP932 >"$out/cp932-crlf"
printf 'ascii only\r\nno multi-byte\rcharacter\n' >"$out/ascii-mixed-breaks"
printf 'a\r\r\nb\n\rc\r\n\n\rd\r' >"$out/lone-and-paired-breaks"
printf '行1\r\n行2\r行3\n\r\n' >"$out/utf8-mixed-breaks"
: >"$out/empty"
printf '\r' >"$out/lone-cr"

# Broken bytes: cut and lone Shift-JIS lead bytes, bytes no code page 932
# character has, overlong and surrogate UTF-8, a cut UTF-8 character, lone
# UTF-16 surrogates and an odd UTF-16 length, a NUL and other controls.
printf '\x8c\xa2\x82' >"$out/cp932-cut-lead"
printf '\x81\x0a\x9f\x7f\xa0\xfd\xfe\xff\x85\x40' >"$out/cp932-unmapped"
printf '\xe7\x8a\xac\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80' >"$out/utf8-invalid"
printf '\xef\xbb\xbf\xe7\x8a\xac\xe7\x8c' >"$out/utf8-bom-cut"
printf '\xff\xfe\x3d\xd8\x41\x00\x00\xdc\x0d\x00\x0a\x00\x42' >"$out/utf16le-broken"
printf '\xfe\xff\xd8\x3d\xde\x00\xdc\x00\x00' >"$out/utf16be-broken"
printf 'a\x00b\x01\x1a\x7f\tc\x0b\x0c' >"$out/controls"
# Text the export and the RTF reader treat specially.
printf '{\\rtf1 not quite}\n\\par {}\\\\ \\u12354? \\'"'"'82\\'"'"'a0\t😀\n' >"$out/rtf-lookalike"

echo "seeds written to $out"
