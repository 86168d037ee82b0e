#!/bin/bash
# The large lists a user may open, each as kivo.exe opens a file named on
# its command line (win32_figures open, in its own process under the Wine
# and display of scripts/test-windows): a million short Japanese lines in
# code page 932 must be in the list within 3 s of the process's start,
# taking at most ten times the file beyond the idle window; a .docx of a
# million empty paragraphs and a text of a million bare LFs must be loaded
# or refused with the list's message within 5 s, taking no more than any
# list may (64 MiB).
# usage: large-lists.sh <win32_figures.exe>
set -euo pipefail
figures=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 - "$dir" <<'PY'
import random, sys, zipfile
out = sys.argv[1]
random.seed(1)
chars = [chr(c) for c in range(0x3042, 0x3094)] + [chr(c) for c in range(0x30A2, 0x30F4)] + list("犬猫鳥魚花山川海空雲雨雪風森林木石火水金土日月星")
lines = ("".join(random.choice(chars) for _ in range(random.randint(2, 5))) for _ in range(1_000_000))
with open(f"{out}/million.txt", "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
with open(f"{out}/breaks.txt", "wb") as f:
    f.write(b"\n" * 1_000_000)
word = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
with zipfile.ZipFile(f"{out}/empty.docx", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    z.writestr("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr("word/document.xml", f'<?xml version="1.0"?><w:document xmlns:w="{word}"><w:body>' + "<w:p/>" * 1_000_000 + "</w:body></w:document>")
PY

failed=0
check() {  # check FILE SECONDS: loads FILE, judges the time and the peak
    local file=$dir/$1 limit=$2 line ms peak idle allowed
    line=$(wine "$figures" open "$(winepath -w "$file")" 2>/dev/null | tr -d '\r')
    echo "$1 ($(stat -c %s "$file") bytes): $line"
    ms=$(sed -n 's/^\([0-9]*\) ms from the start.*/\1/p' <<<"$line")
    peak=$(sed -n 's/.*peak \([0-9]*\) MB (idle window \([0-9]*\) MB).*/\1/p' <<<"$line")
    idle=$(sed -n 's/.*peak \([0-9]*\) MB (idle window \([0-9]*\) MB).*/\2/p' <<<"$line")
    if [ -z "$ms" ] || [ "$ms" -gt $((limit * 1000)) ]; then
        echo "  too slow: more than $limit s"; failed=1
    fi
    # What the list took beyond the idle window: at most ten times the
    # file, or for a small file what any list may take (64 MiB).
    allowed=$(($(stat -c %s "$file") * 10 / 1048576))
    ((allowed < 64)) && allowed=64
    if [ -z "$peak" ] || [ $((peak - idle)) -gt "$allowed" ]; then
        echo "  too much memory: more than $allowed MB over the idle window"; failed=1
    fi
    if ! grep -q '; 1000000 entries' <<<"$line" && ! grep -q 'box "メモリが不足しています' <<<"$line"; then
        echo "  neither loaded nor refused with the list's message"; failed=1
    fi
}
check million.txt 3
check empty.docx 5
check breaks.txt 5
exit $failed
