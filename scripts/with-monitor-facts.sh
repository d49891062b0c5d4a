#!/usr/bin/env bash
# Runs a command on two monitors that Windows can describe, with a Wine prefix of its
# own: DUMMY0 1920x1080 at 0,0, the primary, whose EDID is a digital 2560x1440 monitor's,
# and DUMMY1 1280x1024 right of it, an analogue one's (tests/e2e/edid). Each has a mode
# list, and the display a gamma ramp. Xorg's dummy driver with RandR gives all of that
# (scripts/monitor-facts.conf); Xvfb has one mode and no gamma ramp. Xorg wants root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$root/build/wineprefix-monitor-facts
source "$root/scripts/wine-env.sh"

set_edid=$root/build/native/tests/fixtures/lumetta_set_edid
if [ ! -x "$set_edid" ]; then
    (cd "$root" && cmake --preset native >/dev/null && cmake --build --preset native --target lumetta_set_edid)
fi

display=42
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
mkdir -p "$root/build"
log=$root/build/xorg-monitor-facts.log
# -noreset: the EDIDs live in the server, which would drop them when its last client leaves.
Xorg ":$display" -config "$root/scripts/monitor-facts.conf" -noreset -nolisten tcp -logfile "$log" \
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

# The dummy driver lights DUMMY0 alone. DUMMY1 needs a mode added before it can be
# placed; the next probe of the outputs (lumetta_set_edid makes one) reports it
# connected, with the screen's whole mode list, of which the added mode is then a copy.
xrandr --output DUMMY0 --mode 1920x1080 --pos 0x0 --primary
xrandr --addmode DUMMY1 1280x1024
xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0
# Wine reads the EDIDs when its display driver starts, so before the server does.
"$set_edid" DUMMY0="$root/tests/e2e/edid/digital-2560x1440.bin" DUMMY1="$root/tests/e2e/edid/analogue-1280x1024.bin"
# Wine would list that copy as a second 1280x1024 mode; it goes only while unused.
xrandr --output DUMMY1 --mode 1024x768
xrandr --delmode DUMMY1 1280x1024
xrandr --output DUMMY1 --mode 1280x1024

make_wine_prefix
# No virtual desktop: it would hide the X outputs, and with them the EDIDs, modes and
# gamma. Without a window manager, unmanaged windows keep Wine from waiting 2 s for one
# at every hide. The UseXVidMode=N that the Xinerama layout needs is not needed with RandR.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
start_wine_server
# In the background, so that a signal stops the server at once rather than after it.
"$@" &
command=$!
wait "$command"
