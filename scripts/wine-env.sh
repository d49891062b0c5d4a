# Sourced by every script that runs Wine: which programs, which prefix, which settings.
# Debian's wine64 package puts neither the loader nor the server on PATH, so they are
# called by the paths that package gives them.
wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX=${WINEPREFIX:-$wine_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts; LUMETTA_DLL_OVERRIDES adds more (the screenshot
# of the settings rows loads the test-only dxva2.dll with dxva2=n).
export WINEDLLOVERRIDES="mscoree,mshtml=${LUMETTA_DLL_OVERRIDES:+;$LUMETTA_DLL_OVERRIDES}"

# Makes the prefix once (about 10 s, so never inside a test's deadline) and gives it
# Wine's own fonts: without them the wizard's close box shows a letter "r" (no Marlett)
# and a wider stand-in for MS Sans Serif cuts its labels short. Debian's Wine does not
# look in /usr/share/wine/fonts, so they are copied where Windows keeps fonts.
# Needs an X display.
make_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
    fi
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [ ! -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/* "$fonts/"
    fi
}

# One server for the whole run, so that each program started after it starts fast. The
# server running now is stopped first, so that registry settings just written take
# effect. The first program of a fresh server boots Wine's own services and loses its
# output; that happens here rather than in the first test.
start_wine_server() {
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w
    "$WINESERVER" -p
    timeout 120 "$WINE" wineboot >/dev/null 2>&1 || true
}
