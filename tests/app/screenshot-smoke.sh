#!/bin/bash
# Starts the real program under a virtual X server, waits for its window,
# takes a screenshot of the screen and checks that the Japanese texts are
# drawn as glyphs rather than boxes. Then starts it again with a file on the
# command line and waits for the caption that names the loaded file.
# usage: screenshot-smoke.sh <kivo> <screenshot_check> <out.png>
set -euo pipefail
kivo=$1 check=$2 out=$3
caption='Kivo  version 1.33   >>>   [ Quillery ]'

for tool in xvfb-run xwininfo import; do
    command -v "$tool" >/dev/null || { echo "missing $tool (run scripts/setup)"; exit 1; }
done

export kivo check out caption
# -noreset: the server must outlive the first instance for the second.
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
    set -euo pipefail
    unset QT_QPA_PLATFORM
    "$kivo" & pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    for _ in $(seq 100); do
        xwininfo -name "$caption" >/dev/null 2>&1 && break
        sleep 0.1
    done
    info=$(xwininfo -name "$caption") || { echo "the main window did not appear"; exit 1; }
    geometry() { echo "$info" | sed -n "s/^ *$1: *\\([0-9-]*\\).*/\\1/p"; }
    x=$(geometry "Absolute upper-left X"); y=$(geometry "Absolute upper-left Y")
    w=$(geometry Width); h=$(geometry Height)
    # A slow first paint (a sanitized build, a busy machine) gets a few
    # more looks before the texts count as not drawn.
    for attempt in 1 2 3 4 5; do
        sleep 1
        import -window root "$out"
        if "$check" "$out" "$x" "$y" "$w" "$h" >"$out.log" 2>&1; then break; fi
        [[ $attempt -lt 5 ]] || { cat "$out.log"; exit 1; }
    done
    cat "$out.log"
    kill $pid; wait $pid 2>/dev/null || true

    dir=$(mktemp -d); trap "rm -rf \"$dir\"" EXIT
    printf "\x8c\xa2\r\n\x94\x4c\r\n" > "$dir/動物.txt"   # 犬, 猫 in code page 932
    "$kivo" "$dir/動物.txt" & pid=$!
    loaded="動物.txt  >>>  Kivo version 1.33"
    for _ in $(seq 100); do
        xwininfo -name "$loaded" >/dev/null 2>&1 && break
        sleep 0.1
    done
    xwininfo -name "$loaded" >/dev/null || { echo "the command-line file was not loaded"; exit 1; }
    kill $pid
    echo "command-line file loaded"
'
