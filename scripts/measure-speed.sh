#!/usr/bin/env bash
# Times every keyword on the real pattern window under Wine, against one full-screen
# fill of the same run, and the time from start to the welcome message. The screen is
# LUMETTA_SCREEN (default 1920x1080), for example LUMETTA_SCREEN=3840x2160.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
LUMETTA_SCREEN=${LUMETTA_SCREEN:-1920x1080} scripts/with-wine-display.sh scripts/wine-run.sh \
    build/mingw/tests/e2e/lumetta_speed.exe build/mingw/src/lumetta.exe
