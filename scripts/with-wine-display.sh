#!/usr/bin/env bash
# Runs a command with a fixed 1280x1024 virtual X display and a ready Wine prefix.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
size=${LUMETTA_SCREEN:-1280x1024}

if [ -z "${LUMETTA_IN_XVFB:-}" ]; then
    export LUMETTA_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$@"
fi

make_wine_prefix
# A virtual desktop of the display's size: without a window manager on the display,
# Wine would wait two seconds for one at every show of a hidden window. The desktop
# takes its size when it starts, which start_wine_server's restart gives it.
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1
trap '"$WINESERVER" -k || true' EXIT
start_wine_server
"$@"
