#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, quietly. The caller
# provides the X display (scripts/with-wine-display.sh) and the prefix.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exec "$WINE" "$@"
