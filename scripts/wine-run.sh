#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly.
# The caller provides the X display (see scripts/with-display.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
