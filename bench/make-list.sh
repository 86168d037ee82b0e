#!/usr/bin/env bash
# Writes the realistic Japanese word lists of 100,000 and 1,000,000 lines
# (code page 932 text with CR LF, and our own RTF export of each) that
# bench/compare.sh runs on, building the generator into build/ first:
#   bench/make-list.sh [DIR]      (default build/bench-lists)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
dir=${1:-$build/bench-lists}

cmake --build "$build" --target make_list -j2 >/dev/null
"$build/bench/make_list" "$dir"
ls -l "$dir"/list-*
