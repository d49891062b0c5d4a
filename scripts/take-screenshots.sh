#!/usr/bin/env bash
# Screenshots of the wizard over five patterns of the bundled data.ini, one of its
# French translation and one of the sliders for the monitor's own settings, taken
# under Wine on a 1280x1024 virtual display, for the README and the user guide.
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

# The white-balance step with its gain sliders, on the test-only dxva2.dll (whose
# monitor offers no blue gain, to show that row's note too): it
# stands in the prefix's system directory for the shot only, and its monitor is a file
# in a folder of its own beside a copy of data.ini.
shots=build/screenshot-ddc
system32=build/wineprefix/drive_c/windows/system32
mkdir -p "$shots"
cp data.ini "$shots/"
printf '[DISPLAY1]\r\nPHYSICAL=1\r\nCAPS=(vcp(10 12 16 18))\r\nVCP16=50,100\r\nVCP18=46,100\r\n' \
    >"$shots/fake-monitors.ini"
cp "$system32/dxva2.dll" "$shots/dxva2.dll.wine"
cp build/mingw/tests/e2e/dxva2.dll "$system32/dxva2.dll"
LUMETTA_DLL_OVERRIDES=dxva2=n shoot panel-white-balance-sliders 0 12 "$root/$shots" || true
cp "$shots/dxva2.dll.wine" "$system32/dxva2.dll"
rm -rf "$shots"

# Step 1 on a monitor that tells who it is, at a desktop below its native mode: the
# display of the monitor-facts cases, with the bundled guide.
scripts/with-monitor-facts.sh scripts/wine-run.sh "$screenshot" "$exe" build/step1-monitor-facts.bmp "$root"
convert build/step1-monitor-facts.bmp -gravity center -crop 640x360+0+0 +repage -strip "$out/step1-monitor-facts.png"
rm -f build/step1-monitor-facts.bmp
echo "$out/step1-monitor-facts.png"

# The last step with its line about the report, and the report itself, from a run on
# the same display whose first monitor offers brightness and contrast over the test-only
# dxva2.dll. The report is a web page; a headless Chromium draws it, where there is one.
shots=build/screenshot-report
prefix=build/wineprefix-monitor-facts
system32=$prefix/drive_c/windows/system32
reports=$prefix/drive_c/users/$(whoami)/AppData/Local/Lumetta/Reports
rm -rf "$shots" "$reports"
mkdir -p "$shots"
cp data.ini "$shots/"
printf '[DISPLAY1]\r\nPHYSICAL=1\r\nCAPS=(vcp(10 12))\r\nVCP10=35,100\r\nVCP12=60,100\r\n' \
    >"$shots/fake-monitors.ini"
scripts/with-monitor-facts.sh true
cp "$system32/dxva2.dll" "$shots/dxva2.dll.wine"
cp build/mingw/tests/e2e/dxva2.dll "$system32/dxva2.dll"
LUMETTA_DLL_OVERRIDES=dxva2=n scripts/with-monitor-facts.sh scripts/wine-run.sh "$screenshot" "$exe" \
    build/last-step-report.bmp "$root/$shots" 0 16 || true
cp "$shots/dxva2.dll.wine" "$system32/dxva2.dll"
convert build/last-step-report.bmp -gravity south -crop 620x300+0+0 +repage -strip "$out/last-step-report.png"
rm -f build/last-step-report.bmp
echo "$out/last-step-report.png"
report=$(ls "$reports"/*.html | head -n 1)
if command -v chromium >/dev/null; then
    chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
        --user-data-dir="$root/$shots/chromium" --window-size=900,1100 \
        --screenshot="$root/build/report.png" "file://$root/$report" 2>/dev/null
    convert build/report.png -trim -bordercolor white -border 20 -strip "$out/report.png"
    rm -f build/report.png
    echo "$out/report.png"
else
    echo "no chromium: $out/report.png not redrawn" >&2
fi
rm -rf "$shots"
