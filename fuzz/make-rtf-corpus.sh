#!/usr/bin/env bash
# Writes the seed corpus of the RTF reader's fuzz target into a folder, and
# when given a second path a libFuzzer dictionary of RTF's words there:
#   fuzz/make-rtf-corpus.sh build-fuzz-rtf/corpus build-fuzz-rtf/rtf.dict
#   build-fuzz-rtf/rtf_reader_fuzz -dict=build-fuzz-rtf/rtf.dict build-fuzz-rtf/corpus
# Hand-made edge cases, a few features each, plus the LibreOffice documents
# of the reader's tests.
set -euo pipefail

out=${1:?output folder}
dict=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

# A seed from the here-document that follows, without its last newline.
seed() {
    local text
    text=$(cat)
    printf '%s' "$text" >"$out/$1"
}

seed empty-doc <<'END'
{\rtf1}
END
seed not-rtf <<'END'
plain text, not RTF
END
seed paragraphs <<'END'
{\rtf1 one\par two\line three\par\sect four\page five\cell six\row}
END
seed last-line <<'END'
{\rtf1 one\par two}
END
seed symbols <<'END'
{\rtf1 a\tab b\~c\_d\-e\emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet \{\}\\ f\
g}
END
seed sjis-escapes <<'END'
{\rtf1\ansi\ansicpg932 \'82\'a0\'83\\\'83A\'b6\'de\'82\par}
END
seed charsets <<'END'
{\rtf1{\fonttbl{\f0\fcharset128 M;}{\f1\fcharset129 K;}{\f2\fcharset134 G;}{\f3\fcharset204 C;}
{\f4\cpg1253 E;}{\f5\fcharset130 J;}}\f0\'82\'a0\f1\'b0\'a1\f2\'c4\'e3\f3\'c0\f4\'e1\f5\'88\'61\mac\'8e}
END
seed unicode <<'END'
{\rtf1 \u12354?\u-10179?\u-8704?{\uc2\u12356\'82\'a2}\uc0 \u55357\uc1 \u56832\'3f\u-10179 x\u70000}
END
seed destinations <<'END'
{\rtf1{\*\x hidden}{\info{\title t}}{\stylesheet{\s0 N;}}{\header h}{\footnote f}
{\field{\*\fldinst X}{\fldrslt r}}{\listtext 1.}{\object o{\result r}}{\pict\bin4 }{\}}z}
END
seed formatting <<'END'
{\rtf1{\fonttbl{\f0 A;}{\f1\fcharset128 \'82\'6c\'82\'72;}}{\colortbl;\red255\green0\blue0;}
{\b b{\i i\ul u\cf1\fs40 c}}\plain p\dbch\ab\afs30\af1 d\loch\f0 l\rtlch\ai\ltrch r}
END
seed unbalanced <<'END'
{\rtf1 a{\b b{\i c
END
seed surplus <<'END'
{\rtf1 a}}}b}
END
seed cut-escape <<'END'
{\rtf1 a\'8
END
seed bin-past-end <<'END'
{\rtf1 a\bin999999999 x
END
seed bin-negative <<'END'
{\rtf1 a\bin-5 b}
END
printf '{\\rtf1 \\%s99999999999999999999 x}' "$(printf 'b%.0s' {1..64})" >"$out/long-word"
printf '{\\rtf1 %s\\b x%s}' "$(printf '{%.0s' {1..1100})" "$(printf '}%.0s' {1..1100})" \
    >"$out/deep"
# Raw Shift-JIS whose trail bytes are '\' and '{', with NUL and control bytes.
printf '{\\rtf1\\ansicpg932 \x82\xa0\x83\\\x83{\x95\\ \x00\x01 raw\\par}' >"$out/raw-bytes"

cp "$here"/../tests/data/rtf-libreoffice-*.rtf "$out/"
echo "$(ls "$out" | wc -l) seeds in $out"

[[ -n $dict ]] || exit 0
# The words the reader acts on, so that mutations find them.
words=(rtf1 ansi ansicpg932 ansicpg1252 mac pc pca deff0 fonttbl colortbl stylesheet info
    pict object result objdata field fldinst fldrslt header footer footnote listtext pntext
    bin f0 f1 fcharset128 fcharset0 fcharset1 fcharset2 fcharset129 fcharset134 cpg932
    red255 green0 blue128 cf1 fs24 b b0 i i0 ul ul0 ulnone uldb plain pard par line sect page
    cell row tab emdash endash lquote rquote ldblquote rdblquote bullet u12354 u-10179 u-8704
    uc0 uc1 uc2 loch hich dbch ab ai afs32 af1 rtlch ltrch)
{
    for w in "${words[@]}"; do printf '"\\\\%s"\n' "$w"; done
    printf '"%s"\n' '{' '}' '\\*' "\\\\'82" "\\\\'a0" '\\~' '\\_' '\\-' '\\{' '\\}' '\\\\'
} >"$dict"
echo "dictionary of $(wc -l <"$dict") words in $dict"
