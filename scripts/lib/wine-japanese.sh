# Sourced by the Windows scripts: a private Wine prefix set up as a Japanese
# Windows (locale ja-JP, code page 932), with the Microsoft Japanese fonts
# that the window names mapped to the IPA fonts, and a virtual X server for
# the windows.

# The Japanese locale Wine takes its own from; generated when missing.
ensure_japanese_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
    fi
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# The registry of a Japanese desktop's fonts, written as UTF-16 as regedit
# wants it for names outside ASCII.
write_font_substitutes() {
    local out=$1
    printf '%s\r\n' \
        'Windows Registry Editor Version 5.00' '' \
        '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"ＭＳ 明朝"="IPAGothic"' \
        '"MS Gothic"="IPAGothic"' \
        '"MS PGothic"="IPAPGothic"' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"FixedSys,128"="IPAGothic,128"' \
        '"Trebuchet MS"="Tahoma"' '' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$out"
}

# prepare_japanese_wine PREFIX: makes the prefix once; later runs reuse it.
prepare_japanese_wine() {
    export WINEPREFIX=$1 WINEDEBUG=-all
    ensure_japanese_locale
    if [ -f "$WINEPREFIX/.kivo-japanese" ]; then return; fi
    rm -rf "$WINEPREFIX"
    echo "Preparing a Japanese Wine in $WINEPREFIX"
    # No Mono or Gecko: nothing here needs them, and fetching them would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 300 wine wineboot -i >/dev/null 2>&1
    write_font_substitutes "$WINEPREFIX/drive_c/fonts.reg"
    timeout 120 wine regedit /S 'C:\fonts.reg' >/dev/null 2>&1
    timeout 120 wineserver -w
    touch "$WINEPREFIX/.kivo-japanese"
}

# start_virtual_display: an X server of our own for the windows; stopped by
# stop_virtual_display.
start_virtual_display() {
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        KIVO_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        kill "$KIVO_XVFB_PID" 2>/dev/null || true
    done
    echo "No virtual X server could be started" >&2
    return 1
}

stop_virtual_display() {
    if [ -n "${KIVO_XVFB_PID:-}" ]; then kill "$KIVO_XVFB_PID" 2>/dev/null || true; fi
}
