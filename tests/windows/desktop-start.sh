#!/usr/bin/env bash
# pembrill.exe under Wine with the windows platform plugin on a virtual
# display (Xvfb): the splash ("About") shows, then the main window
# "Pembrill"; no converter message comes, as the caller registered the
# converter in HKLM's 32-bit view; the main window is kept as a screenshot
# and closed with Alt+F4, after which the program ends with status 0.
# Qt's widgets are no windows of their own, so the controls are seen in the
# screenshot: it must hold more than the plain window colour.
#
#   desktop-start.sh PEMBRILL_EXE SCREENSHOT.png   (WINEPREFIX, WINEPATH set)
set -u
program=$1 screenshot=$2
. "$(dirname "$0")/desktop-common.sh"
start_display 1024x768

wine "$program" >/dev/null 2>&1 &
pembrill=$!

if wait_for "^About$" >/dev/null; then echo "ok: the splash shows"; else fail "no splash"; fi
if main=$(wait_for "^Pembrill$"); then
    echo "ok: the main window \"Pembrill\" shows"
else
    fail "no main window \"Pembrill\""
fi
shown "^Warning$" && fail "a warning shows: is the converter not found?"
# The splash closes itself 3.5 s after the main window is made.
for _ in $(seq 1 60); do
    shown "^About$" || break
    sleep 0.5
done
shown "^About$" && fail "the splash is still there after 30 s"
if [ -n "${main:-}" ]; then
    import -window "$main" "$screenshot"
    colours=$(convert "$screenshot" -format %k info:)
    if [ "${colours:-0}" -gt 16 ]; then
        echo "ok: the main window drawn ($(identify -format %wx%h "$screenshot"), $colours colours)"
    else
        fail "the main window is blank ($colours colours)"
    fi
    xdotool windowfocus --sync "$main"
    xdotool key --window "$main" alt+F4
fi
for _ in $(seq 1 40); do
    kill -0 $pembrill 2>/dev/null || break
    sleep 0.5
done
if kill -0 $pembrill 2>/dev/null; then
    fail "the program has not ended 20 s after Alt+F4"
    kill $pembrill
elif wait $pembrill; then
    echo "ok: closed cleanly"
else
    fail "the program ended with status $?"
fi
exit $failed
