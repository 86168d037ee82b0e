# Sourced by the scripts: install_missing PACKAGE... installs, from Debian's
# archive, those of the packages that are not installed yet (as root, or
# through sudo). Quick when everything is there. Messages go to stderr, so
# that a script's own output stays clean.
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    (($(id -u) == 0)) || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq >&2
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}
