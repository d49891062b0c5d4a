# Sourced by the scripts that run Wine on an Xorg display of several monitors, which
# Xvfb cannot give. Xorg wants root.

# Starts Xorg with that configuration on the first free display, exports DISPLAY and
# waits until the server answers; the server and Wine's stop when the script ends.
start_xorg() {  # config log
    mkdir -p "$(dirname "$2")"
    local display=42
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
    # -noreset: what the script sets up (EDIDs, modes) lives in the server, which would
    # drop it when its last client leaves.
    Xorg ":$display" -config "$1" -noreset -nolisten tcp -logfile "$2" >/dev/null 2>&1 &
    xorg=$!
    command=
    trap stop_xorg EXIT
    trap 'stop_command 129' HUP
    trap 'stop_command 130' INT
    trap 'stop_command 143' TERM
    export DISPLAY=:$display
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$xorg" 2>/dev/null || { echo "Xorg did not start; see $2" >&2; exit 1; }
        sleep 0.2
    done
    echo "Xorg did not answer on $DISPLAY; see $2" >&2
    exit 1
}

stop_xorg() {
    "$WINESERVER" -k 2>/dev/null || true
    kill "$xorg" 2>/dev/null || true
    wait "$xorg" 2>/dev/null || true
}

stop_command() {  # exit code
    [ -n "$command" ] && kill "$command" 2>/dev/null
    exit "$1"
}

# In the background, so that a signal stops the server at once rather than after it.
run_command() {
    "$@" &
    command=$!
    wait "$command"
}
