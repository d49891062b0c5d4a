#!/usr/bin/env bash
# Screenshots of the wizard over five patterns of the bundled data.ini and one of its
# French translation, taken under Wine on a 1280x1024 virtual display, for the README
# and the user guide.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=docs/screenshots
mkdir -p "$out"
screenshot=build/mingw/tests/e2e/lumetta_screenshot.exe
exe=build/mingw/src/lumetta.exe
shoot() {  # name model step [folder of the data.ini]
    scripts/with-wine-display.sh scripts/wine-run.sh "$screenshot" "$exe" "build/$1.bmp" "${4:-$root}" "$2" "$3"
    convert "build/$1.bmp" -strip "$out/$1.png"
    rm -f "build/$1.bmp"
    echo "$out/$1.png"
}
shoot panel-contrast-grey-ramp 0 7
shoot crt-geometry-hatch 2 4
shoot panel-colour-ramp 0 10
shoot panel-gamma 0 11
shoot panel-gradients 0 14
shoot french-panel-rgb-range 0 6 "$root/translations/fr"
