#!/usr/bin/env bash
# Installs what is needed, builds lumetta.exe and starts it under Wine with the
# bundled data.ini. Without an X display it shows the first step on a virtual one,
# saves a screenshot of it and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw
cmake --build --preset mingw --target package >/dev/null

exe=build/mingw/src/lumetta.exe
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    # A prefix of its own: the tests' prefix shows everything inside a Wine desktop
    # window, and Lumetta must cover the user's real screen.
    export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix-display}
    source scripts/wine-env.sh
    make_wine_prefix
    # data.ini is read from the working directory: the repository's own.
    exec scripts/wine-run.sh "$exe"
fi

shot=$root/build/lumetta-first-step.png
echo "No X display: running Lumetta on a virtual 1280x1024 display instead."
scripts/with-wine-display.sh scripts/wine-run.sh build/mingw/tests/e2e/lumetta_screenshot.exe \
    "$exe" build/lumetta-first-step.bmp "$root"
convert build/lumetta-first-step.bmp "$shot"
rm -f build/lumetta-first-step.bmp
echo "Screenshot of the first step: $shot"
