# Sourced by the Windows scripts: fetch_scintilla DIR brings Scintilla's
# source, the editor kivo.exe's list is built on, into DIR/scintilla and
# prints that folder. Nothing of Scintilla is kept in the repository and no
# Windows build of it is packaged: it comes from Debian's source package of
# SciTE, which carries scintilla/ with its Win32 layer. apt fetches it with
# a configuration of our own (its deb-src entries derived from the
# machine's own apt sources; no system file is touched) and checks the
# archive's signature and the files' hashes. Later runs reuse the folder.
fetch_scintilla() {
    local dir
    mkdir -p "$1"
    dir=$(cd "$1" && pwd)
    if [ -f "$dir/scintilla/version.txt" ] && [ -f "$dir/scintilla/win32/ScintillaWin.cxx" ]; then
        echo "$dir/scintilla"
        return 0
    fi
    local apt=$dir/apt
    rm -rf "$apt" "$dir/scintilla"
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" \
        "$apt/download"
    : >"$apt/none.list"
    derive_source_entries >"$apt/sources.list.d/kivo-sources.sources"
    derive_source_lines >"$apt/sources.list.d/kivo-sources.list"
    local options=(
        -o "Dir::Etc::SourceList=$apt/none.list"
        -o "Dir::Etc::SourceParts=$apt/sources.list.d"
        -o "Dir::State::Lists=$apt/lists"
        -o "Dir::Cache=$apt/cache"
        -o "APT::Sandbox::User=$(id -un)"
        -o "Debug::NoLocking=1"
    )
    # A source without a Sources index (a third party's) may fail to update;
    # Debian's own are what the package is taken from.
    apt-get -qq "${options[@]}" update >"$apt/update.log" 2>&1 || true
    if ! (cd "$apt/download" && apt-get -qq "${options[@]}" source --download-only scite \
        >"$apt/source.log" 2>&1); then
        echo "Could not fetch Debian's source package scite (Scintilla):" >&2
        cat "$apt/update.log" "$apt/source.log" >&2
        return 1
    fi
    local tarball
    tarball=$(ls "$apt/download"/scite_*.orig.tar.* | head -n 1)
    tar -xf "$tarball" -C "$dir" scintilla
    echo "Scintilla $(scintilla_version "$dir/scintilla") from $(basename "$tarball")" >&2
    rm -rf "$apt"
    echo "$dir/scintilla"
}

# The machine's deb822 sources, each stanza as a source-package entry.
derive_source_entries() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -r "$f" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$f"
        echo
    done
}

# The machine's one-line sources, each "deb" line as a "deb-src" line.
derive_source_lines() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -r "$f" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done
}

# scintilla_version DIR: "5.3.3" for the source in DIR (its version.txt says 533).
scintilla_version() {
    local v
    v=$(tr -d '[:space:]' <"$1/version.txt")
    echo "${v:0:1}.${v:1:1}.${v:2}"
}
