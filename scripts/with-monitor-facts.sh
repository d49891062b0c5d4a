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
source "$root/scripts/xorg-env.sh"

set_edid=$root/build/native/tests/fixtures/lumetta_set_edid
if [ ! -x "$set_edid" ]; then
    (cd "$root" && cmake --preset native >/dev/null && cmake --build --preset native --target lumetta_set_edid)
fi

log=$root/build/xorg-monitor-facts.log
start_xorg "$root/scripts/monitor-facts.conf" "$log"

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
run_command "$@"
