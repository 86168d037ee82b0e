#!/usr/bin/env bash
# Writes the seed corpus of a fuzz target into a folder:
#   fuzz/make-corpus.sh cryptogram_fuzz build-fuzz/corpus/cryptogram_fuzz
set -euo pipefail

target=${1:?target name}
out=${2:?output folder}
mkdir -p "$out"

key='tonic_Kivo_RW7QX214fy'

# The 32-byte stored-key field: each key byte XOR 0xDD, then zeros.
stored_key() {
    local k=$1 i c
    for ((i = 0; i < 32; i++)); do
        if ((i < ${#k})); then
            printf -v c '%d' "'${k:i:1}"
            printf "\\x$(printf '%02x' $((c ^ 0xDD)))"
        else
            printf '\x00'
        fi
    done
}

# magic, little-endian stamp (8 hex digits, lowest byte first), key, reserved
header() {
    local magic=$1 stamp=$2 k=$3
    printf "$magic"
    printf "\\x${stamp:0:2}\\x${stamp:2:2}\\x${stamp:4:2}\\x${stamp:6:2}"
    stored_key "$k"
    printf '\x00\x00'
}

# body bytes of a text enciphered with the key, restarting every 1024 bytes
body() {
    local text=$1 k=$2 i c
    for ((i = 0; i < ${#text}; i++)); do
        printf -v c '%d' "'${text:i:1}"
        local kc
        printf -v kc '%d' "'${k:$(((i % 1024) % ${#k})):1}"
        printf "\\x$(printf '%02x' $((c ^ kc)))"
    done
}

rtf='{\rtf1\ansi\deff0 {\fonttbl{\f0 MS UI Gothic;}}\f0 neko\par inu\par}'

case "$target" in
cryptogram_fuzz)
    : >"$out/empty"
    printf '%034d' 0 >"$out/short-34"
    printf '%s' "$rtf" >"$out/plain-rtf"
    header '\x17\x00Kivo' 2D796E52 "$key" >"$out/header-only"
    head -c 35 "$out/header-only" >"$out/cut-35"
    { header '\x17\x00Kivo' 2D796E52 "$key"; body "$rtf" "$key"; } >"$out/container"
    { header '\x17\x00Kivo' 00000000 "$key"; body "$rtf" "$key"; } >"$out/stamp-zero"
    { header '\x17\x00Kivo' FFFFFFFF "$key"; body "$rtf" "$key"; } >"$out/stamp-ones"
    { header '\x17\x00KIVO' 2D796E52 "$key"; body "$rtf" "$key"; } >"$out/magic-case"
    { header '\x17\x00Kivo' 2D796E52 'another_key'; body "$rtf" 'another_key'; } >"$out/other-key"
    { header '\x17\x00Kivo' 2D796E52 ''; body "$rtf" 'x'; } >"$out/zero-key"
    ;;
*)
    echo "no seeds for $target" >&2
    ;;
esac
