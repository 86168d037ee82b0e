#!/usr/bin/env bash
# Writes the seed corpus of the Word text extractor's fuzz target into a
# folder, and when given a second path a libFuzzer dictionary there:
#   fuzz/make-word-corpus.sh build-fuzz/corpus/word_text_fuzz build-fuzz/word_text_fuzz.dict
# Hand-made compound-file shells (the signature, the kind byte at 516, the
# unit count at 588, text at 1536 in 16-bit units or at 1280 in code page
# 932 stored lead byte second), and a Word document LibreOffice writes when
# it is installed.
set -euo pipefail

out=${1:?output folder}
dict=${2:-}
mkdir -p "$out"

# put FILE OFFSET HEX...: writes the bytes at the offset, the rest unchanged.
put() {
    local file=$1 at=$2 bytes='' b
    shift 2
    for b in "$@"; do bytes+="\\x$b"; done
    printf "$bytes" | dd of="$file" bs=1 seek="$at" conv=notrunc status=none
}

# units FILE OFFSET TEXT: the text in 16-bit little-endian units.
units() {
    printf '%s' "$3" | iconv -f UTF-8 -t UTF-16LE |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# swapped FILE OFFSET TEXT: the text in code page 932 with each double-byte
# character stored lead byte second, as the 8-bit documents hold it.
swapped() {
    local file=$1 at=$2 hex=() swapped=() i b
    read -r -a hex <<<"$(printf '%s' "$3" | iconv -f UTF-8 -t CP932 | od -An -v -tx1 | tr '\n' ' ')"
    for ((i = 0; i < ${#hex[@]}; i++)); do
        b=$((16#${hex[i]}))
        if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))) && ((i + 1 < ${#hex[@]})); then
            swapped+=("${hex[i + 1]}" "${hex[i]}")
            ((i += 1))
        else
            swapped+=("${hex[i]}")
        fi
    done
    put "$file" "$at" "${swapped[@]}"
}

# shell NAME SIZE KIND COUNT: zeros with the signature, kind byte and count.
shell() {
    local file=$out/$1 count
    head -c "$2" /dev/zero >"$file"
    put "$file" 0 d0 cf 11 e0 a1 b1
    ((${2} > 516)) && put "$file" 516 "$(printf '%02x' "$3")"
    printf -v count '%08x' $(($4 & 0xFFFFFFFF))
    ((${2} >= 592)) && put "$file" 588 "${count:6:2}" "${count:4:2}" "${count:2:2}" "${count:0:2}"
    return 0
}

lines=$'犬\r猫と鳥\rｶﾀｶﾅ半角\rＡＢＣ全角\r漢字かなカナ mixed 123\r'

# Files too short for the header block: the one documented error.
: >"$out/empty"
shell signature-only 6 0 0
shell header-cut 1279 0 0
shell header-only 1280 0 0

# The 16-bit road: the count sizes the blocks of 514 bytes and the tail.
shell sixteen-count-5 4096 0 5
units "$out/sixteen-count-5" 1536 $'あA\rB\r'
shell sixteen-count-0 4096 0 0
units "$out/sixteen-count-0" 1536 $'one\r\r'
shell sixteen-count-300 8192 0 300
units "$out/sixteen-count-300" 1536 ab
units "$out/sixteen-count-300" $((1536 + 6)) xy  # behind a NUL unit, which ends the block's text
units "$out/sixteen-count-300" $((1536 + 514)) $'cd\r'
units "$out/sixteen-count-300" 2564 $'t\r'
units "$out/sixteen-count-300" 2652 $'z\r'
shell sixteen-japanese 4096 0 ${#lines}
units "$out/sixteen-japanese" 1536 "$lines"
for count in -1 -300 $((1 << 30)) $((0x7FFFFFFF)) $((0x80000000)); do
    shell "sixteen-count-$count" 4096 0 "$count"
    units "$out/sixteen-count-$count" 1536 $'q\r'
done
# A surrogate pair cut by the block boundary, then a lone surrogate.
shell sixteen-surrogates 4096 0 259
units "$out/sixteen-surrogates" 1536 "$(printf 'x%.0s' {1..256})"
put "$out/sixteen-surrogates" $((1536 + 512)) 3d d8
put "$out/sixteen-surrogates" $((1536 + 514)) 00 de 00 dc 0d 00

# The 8-bit road, chosen by the kind byte: blocks of 513 bytes.
for kind in 0x69 0xC0 0xE0; do
    shell "eight-kind-$kind" $((1280 + 2 * 513)) "$kind" 0
    swapped "$out/eight-kind-$kind" 1280 "$lines"
done
shell eight-nul 1793 0x69 0
put "$out/eight-nul" 1280 a0 82 41 00 0d
shell eight-untested-nul $((1280 + 2 * 513)) 0xC0 0
put "$out/eight-untested-nul" 1280 00 82 5a 0d
put "$out/eight-untested-nul" $((1280 + 513)) a0 42 0d
# A double-byte character across the block boundary, then an incomplete
# last block.
shell eight-boundary $((1280 + 3 * 513 - 1)) 0x69 0
put "$out/eight-boundary" $((1280 + 511)) 41 a0 82 0d 62 0d

# The "WordDocument" name probe chooses the 8-bit road whatever the kind;
# NUL units before it do not end the name, one cut by the probe's end fails.
for at in 612 1512 1530; do
    shell "probe-at-$at" $((1280 + 2 * 513)) 0 5
    units "$out/probe-at-$at" "$at" WordDocument
    swapped "$out/probe-at-$at" 1280 $'8ビット\r'
done

# A real document, when LibreOffice is here to write one.
if command -v soffice >/dev/null; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    printf '%s' "${lines//$'\r'/$'\n'}" >"$work/list.txt"
    if timeout 180 soffice --headless "-env:UserInstallation=file://$work/profile" \
        --infilter='Text (encoded):UTF8,LF,,,' --convert-to doc --outdir "$work" \
        "$work/list.txt" >/dev/null 2>&1 && [[ -s $work/list.doc ]]; then
        cp "$work/list.doc" "$out/libreoffice.doc"
    else
        echo "LibreOffice could not write the Word seed; going on without it" >&2
    fi
fi
echo "seeds written to $out"

[[ -n $dict ]] || exit 0
# The name the probe looks for, the signature, a CR unit, surrogates.
{
    printf '"%s"\n' 'W\x00o\x00r\x00d\x00D\x00o\x00c\x00u\x00m\x00e\x00n\x00t\x00'
    printf '"%s"\n' '\xD0\xCF\x11\xE0\xA1\xB1' '\x0D\x00' '\x3D\xD8' '\x00\xDC' '\xA0\x82'
    printf '"%s"\n' '\x69' '\xC0' '\xE0' '\xFF\xFF\xFF\x7F' '\x00\x00\x00\x80'
} >"$dict"
echo "dictionary of $(wc -l <"$dict") words in $dict"
