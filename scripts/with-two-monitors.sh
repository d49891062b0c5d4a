#!/usr/bin/env bash
# Runs a command on two monitors (scripts/two-monitors.conf: 1280x1024 at 0,0, the
# primary, and 1024x768 beside it) with a Wine prefix of its own. LUMETTA_SECOND_MONITOR
# says where the second one lies: RightOf (the default), LeftOf (at negative x) or
# Below (at a non-zero top). Xvfb cannot place two screens side by side, so this starts
# Xorg with the dummy driver and Xinerama; Xorg wants root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$root/build/wineprefix-two-monitors
source "$root/scripts/wine-env.sh"
source "$root/scripts/xorg-env.sh"

placement=${LUMETTA_SECOND_MONITOR:-RightOf}
case $placement in
RightOf | LeftOf | Below) ;;
*) echo "LUMETTA_SECOND_MONITOR must be RightOf, LeftOf or Below, not $placement" >&2; exit 2 ;;
esac
mkdir -p "$root/build"
config=$root/build/two-monitors-$placement.conf
sed "s/RightOf \"scr0\"/$placement \"scr0\"/" "$root/scripts/two-monitors.conf" >"$config"

log=$root/build/xorg-two-monitors.log
start_xorg "$config" "$log"

make_wine_prefix
# Without UseXVidMode=N, Wine 8 aborts in its display-mode code on this layout and
# reports a single monitor. No virtual desktop either: that would be one monitor.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXVidMode /d N /f >/dev/null 2>&1
start_wine_server
run_command "$@"
