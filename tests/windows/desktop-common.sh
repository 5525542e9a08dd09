# shellcheck shell=bash disable=SC2034,SC2154
# Sourced by the tests/windows/desktop-*.sh scripts: a failure is counted in
# $failed; start_display puts an Xvfb display of the size asked for in
# $DISPLAY for the script's run, with a Wine server of its own; wait_for
# waits up to 60 s for a visible window whose title matches a regular
# expression and prints its id, while the program $pembrill runs; shown says
# whether such a window is there.
failed=0
fail() { echo "FAILED: $*"; failed=1; }

start_display() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    sleep 1
    # Wine's desktop process takes the screen from the display it starts on
    # and keeps it while its server runs: the display gets a server of its
    # own, ended with it.
    wineserver -k 2>/dev/null
    wineserver -w
    trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wait_for() {
    for _ in $(seq 1 120); do
        local window
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$window" ] && echo "$window" && return 0
        kill -0 "$pembrill" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}

shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
