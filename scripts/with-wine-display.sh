#!/usr/bin/env bash
# Runs a command with a fixed 1280x1024 virtual X display and a ready Wine prefix.
# The prefix is created once here, so that no test pays for it inside its deadline.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
size=${LUMETTA_SCREEN:-1280x1024}

if [ -z "${LUMETTA_IN_XVFB:-}" ]; then
    export LUMETTA_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$@"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
fi
# A virtual desktop of the display's size: without a window manager on the display,
# Wine would wait two seconds for one at every show of a hidden window. The desktop
# takes its size when it starts, so the server is restarted after the change.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w
# One server for the whole run, so that each program started below starts fast.
wineserver -p
trap 'wineserver -k || true' EXIT
# The first program of a fresh server boots Wine's own services and loses its output;
# let that happen here rather than in the first test.
timeout 120 "$wine" wineboot >/dev/null 2>&1 || true
"$@"
