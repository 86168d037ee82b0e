#!/usr/bin/env bash
# Runs our operations beside other programs doing the same job on the same
# files, in one run, and prints a Markdown table of the times and their
# ratios (ours ÷ theirs: below 1 we are faster), then one topic draw on the
# loaded list, the memory check: the peak resident memory of loading the
# 1,000,000-line list into the real control, beside the size of the list's
# text; and files of hostile shape, each loaded into a shown window: load
# time, peak memory, first repaint and the CPU the idle program takes.
#   bench/compare.sh        (after scripts/test has built build/)
# Set BUILD_DIR to use another build folder. Installs unrtf, nkf and unzip
# when they are missing, and LibreOffice Calc for the workbooks (apt-get, as
# root or through sudo).
#
# Our times are Google Benchmark's (bench/CompareBench.cpp, and
# bench/ContainerBench.cpp for the container), each the mean of 10 runs on
# the 100,000-line list and 3 on the 1,000,000-line one; theirs are the mean
# wall time of as many runs of the command, output to /dev/null, after one
# unmeasured run. Theirs include starting the process; ours run in process.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
lists=$build/bench-lists
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$root/scripts/lib/install-missing.sh"

install_missing unrtf nkf unzip
[[ -f $build/CMakeCache.txt ]] || { echo "no build in $build: run scripts/test first" >&2; exit 1; }
echo "Building the benchmarks and the lists ..." >&2
cmake --build "$build" --target make_list compare_bench container_bench -j2 >/dev/null
"$build/bench/make_list" "$lists"
"$root/bench/make-sheets.sh" "$lists"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# ---- Ours ----

echo "Our operations (Google Benchmark) ..." >&2
"$build/bench/compare_bench" --lists="$lists" --benchmark_out="$work/ours.json" \
    --benchmark_out_format=json >&2
"$build/bench/container_bench" --benchmark_out="$work/container.json" \
    --benchmark_out_format=json >&2

# "name value" for every benchmark's real time (ms) and every counter.
flatten() {
    awk -F': ' '
        /"name":/ { name = $2; gsub(/[",]/, "", name); sub(/\/iterations:.*/, "", name) }
        /"real_time":/ { v = $2; gsub(/,/, "", v); print name, v }
        /"(ours_ms|cp_ms|cp_sync_ms)":/ { k = $1; gsub(/[" ]/, "", k); v = $2; gsub(/,/, "", v); print k, v }
    ' "$@"
}
flatten "$work/ours.json" "$work/container.json" >"$work/times"
ours() {
    awk -v k="$1" '$1 == k { print $2; found = 1 } END { if (!found) exit 1 }' "$work/times" ||
        { echo "no result for $1" >&2; exit 1; }
}

# ---- Theirs ----

# Mean wall time in ms of RUNS runs of a command, after one unmeasured run.
theirs() {
    local runs=$1 i start end
    shift
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v n="$runs" 'BEGIN { printf "%.3f", ns / n / 1e6 }'
}

echo "Their commands ..." >&2
rows=()
draws=()
# row OPERATION PEER INPUT OURS_MS THEIRS_MS
row() {
    rows+=("$(awk -v op="$1" -v peer="$2" -v input="$3" -v a="$4" -v b="$5" '
        function ms(t) { return t >= 1000 ? sprintf("%.2f s", t / 1000) : t >= 10 ? sprintf("%.0f ms", t) : sprintf("%.1f ms", t) }
        BEGIN { printf "| %s | %s | %s | %s | %s | %.2f |", op, peer, input, ms(a), ms(b), a / b }')")
}
size_of() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f MB", b / 1e6 }'; }

for lines in 100000 1000000; do
    runs=$((lines >= 1000000 ? 3 : 10))
    txt=$lists/list-$lines.txt
    rtf=$lists/list-$lines.rtf
    label="$(sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$lines") lines"
    a=$(ours decode_text/$lines)
    b=$(theirs $runs iconv -f CP932 -t UTF-8 "$txt")
    row "text decoding (whole-file load)" "\`iconv -f CP932 -t UTF-8\`" \
        "$label, $(size_of "$txt")" "$a" "$b"
    a=$(ours import_rtf/$lines)
    b=$(theirs $runs unrtf --text "$rtf")
    row "RTF import (whole-file load)" "\`unrtf --text\`" "$label, $(size_of "$rtf")" "$a" "$b"
    a=$(ours load_list/$lines)
    b=$(ours toolkit_set_plain_text/$lines)
    row "list file into the control" "\`QPlainTextEdit::setPlainText\` of the decoded text" \
        "$label" "$a" "$b"
    docx=$lists/list-$lines.docx
    a=$(ours load_docx/$lines)
    b=$(ours load_list/$lines)
    row ".docx import into the control" "the plain-text load of the same lines (above)" \
        "$label, $(size_of "$docx")" "$a" "$b"
    a=$(ours extract_docx/$lines)
    b=$(theirs $runs unzip -p "$docx" word/document.xml)
    row ".docx text extraction (inflate, XML)" "\`unzip -p\` of its \`word/document.xml\`" \
        "$label" "$a" "$b"
    for kind in xlsx ods; do
        sheet=$lists/list-$lines.$kind
        part=$([[ $kind == xlsx ]] && echo xl/worksheets/sheet1.xml || echo content.xml)
        a=$(ours load_$kind/$lines)
        b=$(ours load_list/$lines)
        row ".$kind import into the control" "the plain-text load of the same lines (above)" \
            "$label, $(size_of "$sheet")" "$a" "$b"
        a=$(ours extract_$kind/$lines)
        b=$(theirs $runs unzip -p "$sheet" "$part")
        row ".$kind text extraction (inflate, XML)" "\`unzip -p\` of its \`$part\`" \
            "$label" "$a" "$b"
    done
    load=$(ours load_list/$lines)
    a=$(ours width_list_mode/$lines)
    row "list-mode half-width command on the loaded list" "the list file into the control (above)" \
        "$label" "$a" "$load"
    a=$(ours add_import/$lines)
    row "text add-import onto an empty list" "the list file into the control (above)" \
        "$label" "$a" "$load"
    draws+=("$(awk -v l="$label" -v us="$(ours draw_list/$lines)" 'BEGIN { printf "| %s | %.1f µs |", l, us }')")
    a=$(ours half_width/$lines)
    b=$(theirs $runs nkf --ic=CP932 --oc=CP932 -x -Z1 -Z4 "$txt")
    row "half-width conversion" "\`nkf -x -Z1 -Z4\`" "$label" "$a" "$b"
    a=$(ours full_width/$lines)
    b=$(theirs $runs nkf --ic=CP932 --oc=CP932 -X "$txt")
    row "full-width conversion" "\`nkf -X\`" "$label" "$a" "$b"
done
a=$(ours ours_ms)
b=$(ours cp_ms)
c=$(ours cp_sync_ms)
row "container encryption in place" "\`cp\`" "100 MB file" "$a" "$b"
row "container encryption in place" "\`cp\` then \`sync\` of the copy" "100 MB file" "$a" "$c"

# ---- Memory ----

echo "Memory check ..." >&2
"$build/bench/compare_bench" --peak-memory="$lists/list-1000000.txt" >"$work/memory" 2>/dev/null
mem() { awk -v k="$1" '$1 == k { print $2 }' "$work/memory"; }

# ---- Hostile lists ----

# Files of the shapes that break a list control: millions of empty lines,
# one line of megabytes, RTF that changes format on every character, a
# colour table of millions of entries. Each is loaded in a fresh process.
echo "Hostile lists ..." >&2
hostile=$work/hostile
mkdir -p "$hostile"
head -c $((10 * 1024 * 1024)) /dev/zero | tr '\0' '\n' >"$hostile/line-breaks.txt"
head -c 10000000 /dev/zero | tr '\0' 'x' >"$hostile/one-line.txt"
head -c 1000000 /dev/zero | tr '\0' '\n' >"$hostile/line-breaks-1M.txt"
head -c 1048576 /dev/zero | tr '\0' 'x' >"$hostile/one-line-1M.txt"
{
    printf '{\\rtf1\\ansi '
    for ((i = 0; i < 150000; i++)); do printf '\\b a\\b0\\i b\\i0 '; done
    printf '}'
} >"$hostile/bold-italic.rtf"
{
    printf '{\\rtf1\\ansi{\\fonttbl{\\f0 A Very Long Font Family Name Number One;}'
    printf '{\\f1 Another Very Long Font Family Name Number Two;}}'
    for ((i = 0; i < 100000; i++)); do printf '\\f0 a\\f1 b'; done
    printf '}'
} >"$hostile/two-fonts.rtf"
{
    printf '{\\rtf1\\ansi{\\colortbl'
    head -c 20000000 /dev/zero | tr '\0' ';'
    printf '}x}'
} >"$hostile/colour-table.rtf"
hostile_rows=()
hostile_row() {
    local shape=$1 file=$2 out
    out=$("$build/bench/compare_bench" --hostile="$file" 2>/dev/null) ||
        { echo "failed: the hostile load of $file" >&2; exit 1; }
    hostile_rows+=("$(awk -v shape="$shape" '
        { v[$1] = $2; if ($1 == "message") { $1 = ""; sub(/^ /, ""); v["message"] = $0 } }
        END {
            mib = 1024 * 1024
            peak = (v["hwm_after_kib"] - v["hwm_before_kib"]) * 1024
            outcome = v["message"] == "-" ? sprintf("loaded, %d line%s", v["lines"], v["lines"] == 1 ? "" : "s") : "refused: " v["message"]
            printf "| %s | %.1f MB | %.2f s | %.0f MiB (%.1f times the file) | %.0f ms | %.1f %% | %s |",
                shape, v["file_bytes"] / 1e6, v["load_s"], peak / mib, peak / v["file_bytes"],
                v["first_paint_s"] * 1000, v["idle_cpu"] * 100, outcome
        }' <<<"$out")")
}
hostile_row "10 MiB of line breaks" "$hostile/line-breaks.txt"
hostile_row "one line of 10 MB" "$hostile/one-line.txt"
hostile_row "1,000,000 line breaks" "$hostile/line-breaks-1M.txt"
hostile_row "one line of 1,048,576 characters (the longest taken)" "$hostile/one-line-1M.txt"
hostile_row "RTF alternating bold and italic every character" "$hostile/bold-italic.rtf"
hostile_row "RTF alternating two long-named fonts every character" "$hostile/two-fonts.rtf"
hostile_row "RTF colour table of 20,000,000 entries" "$hostile/colour-table.rtf"

# ---- Report ----

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
ram=$(awk '/^MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo)
echo
echo "$(date +%Y-%m-%d), $cpu, $(nproc) cores, $ram RAM, $(. /etc/os-release && echo "$PRETTY_NAME")"
echo
echo "| operation | peer | input | ours | peer | ours ÷ peer |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "| one topic draw on the loaded list | time |"
echo "|---|---|"
printf '%s\n' "${draws[@]}"
echo
[[ $(mem lines) == 1000000 && $(mem messages) == 0 ]] ||
    { echo "the memory check did not load the whole list" >&2; exit 1; }
awk -v file="$(mem file_bytes)" -v u8="$(mem text_utf8_bytes)" -v u16="$(mem text_utf16_bytes)" \
    -v before="$(mem hwm_before_kib)" -v peak="$(mem hwm_after_kib)" -v rss="$(mem rss_after_kib)" '
    BEGIN {
        mib = 1024 * 1024
        print "| memory check: the 1,000,000-line list loaded into the control | |"
        print "|---|---|"
        printf "| the list'"'"'s text | %.1f MiB in code page 932 with CR LF (the file), %.1f MiB in UTF-8, %.1f MiB in UTF-16 |\n", file / mib, u8 / mib, u16 / mib
        printf "| peak resident memory | %.0f MiB: %.0f MiB before the load, %.0f MiB more with it (%.1f times the file) |\n", peak / 1024, before / 1024, (peak - before) / 1024, (peak - before) * 1024 / file
        printf "| resident after the load | %.0f MiB |\n", rss / 1024
    }'
echo
echo "| hostile list | file | load | peak memory | first repaint | idle CPU after | outcome |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${hostile_rows[@]}"
