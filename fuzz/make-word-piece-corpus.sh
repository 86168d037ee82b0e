#!/usr/bin/env bash
# Writes the seed corpus of the Word 97–2003 structure reader's fuzz target
# into a folder, and when given a second path a libFuzzer dictionary there:
#   fuzz/make-word-piece-corpus.sh build-fuzz/corpus/word_piece_fuzz build-fuzz/word_piece_fuzz.dict
# The seeds are the LibreOffice document of the tests (tests/data), whole
# and with its FIB's table-stream bit, encryption bit, text length and
# character-property bins changed, so that mutations start deep inside a
# real structure.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?output folder}
dict=${2:-}
mkdir -p "$out"
doc=$here/../tests/data/word-libreoffice-list.doc
cp "$doc" "$out/libreoffice.doc"

# put FILE OFFSET HEX...: writes the bytes at the offset, the rest unchanged.
put() {
    local file=$1 at=$2 bytes='' b
    shift 2
    for b in "$@"; do bytes+="\\x$b"; done
    printf "$bytes" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}

# The FIB: where the WordDocument stream begins, at a sector with its
# identifier A5EC.
fib=$( (LC_ALL=C grep -obUaP '\xEC\xA5' "$doc" || true) | awk -F: '$1 % 512 == 0 { print $1 }' | head -1)
if [[ -n $fib ]]; then
    cp "$doc" "$out/other-table-stream.doc"
    put "$out/other-table-stream.doc" $((fib + 0x0B)) 00       # 0Table, which is missing
    cp "$doc" "$out/short-text.doc"
    put "$out/short-text.doc" $((fib + 0x4C)) 05 00 00 00      # ccpText 5
    cp "$doc" "$out/encrypted.doc"
    put "$out/encrypted.doc" $((fib + 0x0B)) 03
    cp "$doc" "$out/no-chpx.doc"
    put "$out/no-chpx.doc" $((fib + 0x9A + 12 * 8 + 4)) 00 00 00 00
fi
echo "seeds written to $out"

[[ -n $dict ]] || exit 0
# Stream names, the FIB identifier, the piece table's markers, the special
# characters, the property modifiers it reads, the chain ends.
{
    printf '"%s"\n' 'W\x00o\x00r\x00d\x00D\x00o\x00c\x00u\x00m\x00e\x00n\x00t\x00'
    printf '"%s"\n' '1\x00T\x00a\x00b\x00l\x00e\x00' '0\x00T\x00a\x00b\x00l\x00e\x00'
    printf '"%s"\n' '\xEC\xA5\xC1\x00' '\x02' '\x01' '\x13\x00' '\x14\x00' '\x15\x00' '\x07\x00'
    printf '"%s"\n' '\x00\x08\x01' '\x17\x24\x01' '\x08\xD6' '\x15\xC6\xFF' '\x00\x00\x00\x40'
    printf '"%s"\n' '\xFE\xFF\xFF\xFF' '\xFF\xFF\xFF\xFF' '\xFD\xFF\xFF\xFF'
} >"$dict"
echo "dictionary of $(wc -l <"$dict") words in $dict"
