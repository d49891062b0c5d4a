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

placement=${LUMETTA_SECOND_MONITOR:-RightOf}
case $placement in
RightOf | LeftOf | Below) ;;
*) echo "LUMETTA_SECOND_MONITOR must be RightOf, LeftOf or Below, not $placement" >&2; exit 2 ;;
esac
mkdir -p "$root/build"
config=$root/build/two-monitors-$placement.conf
sed "s/RightOf \"scr0\"/$placement \"scr0\"/" "$root/scripts/two-monitors.conf" >"$config"

display=42
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
log=$root/build/xorg-two-monitors.log
Xorg ":$display" -config "$config" -noreset -nolisten tcp -logfile "$log" \
    >/dev/null 2>&1 &
xorg=$!
command=
stop() {
    "$WINESERVER" -k 2>/dev/null || true
    kill "$xorg" 2>/dev/null || true
    wait "$xorg" 2>/dev/null || true
}
interrupted() {
    [ -n "$command" ] && kill "$command" 2>/dev/null
    exit "$1"
}
trap stop EXIT
trap 'interrupted 129' HUP
trap 'interrupted 130' INT
trap 'interrupted 143' TERM
export DISPLAY=:$display
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    kill -0 "$xorg" 2>/dev/null || { echo "Xorg did not start; see $log" >&2; exit 1; }
    sleep 0.2
done
xdpyinfo >/dev/null 2>&1 || { echo "Xorg did not answer on $DISPLAY; see $log" >&2; exit 1; }

make_wine_prefix
# Without UseXVidMode=N, Wine 8 aborts in its display-mode code on this layout and
# reports a single monitor. No virtual desktop either: that would be one monitor.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXVidMode /d N /f >/dev/null 2>&1
start_wine_server
# In the background, so that a signal stops the server at once rather than after it.
"$@" &
command=$!
wait "$command"
