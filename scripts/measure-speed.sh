#!/usr/bin/env bash
# Times every keyword on the real pattern window under Wine at 1920x1080, against one
# full-screen fill of the same run, and the time from start to the welcome message.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
LUMETTA_SCREEN=1920x1080 scripts/with-wine-display.sh scripts/wine-run.sh \
    build/mingw/tests/e2e/lumetta_speed.exe build/mingw/src/lumetta.exe "$root/tests/speed/keywords.ini"
