#!/usr/bin/env bash
# pembrill.exe under Wine on a virtual display (Xvfb) of 640x480, the screen
# on which the main window keeps the place FitToScreen gives it:
#   - its frame, the window's bounds as Windows gives them, stands where
#     FitBesideSystemTaskbar puts it: beside a taskbar docked at the top edge
#     (DesktopProbe stands in for one) and beside Wine's own taskbar window
#     (hidden, at 0, 0);
#   - with the example project open and its preview showing, the print files
#     are in the Wine prefix's temporary folder; a session end that is
#     cancelled leaves them and the preview; the session's end removes them
#     before the program has answered WM_ENDSESSION.
# Wine's own `wineboot --end-session` cannot show the last: it sends the same
# messages to every top-level window, but ends a program only once all its
# windows have answered, and Qt quits on the first WM_ENDSESSION, so the
# preview closes and its files go the ordinary way meanwhile. Windows may end
# the program as soon as it has answered; DesktopProbe does.
#
#   desktop-session.sh PEMBRILL_EXE DESKTOPPROBE_EXE PROJECT.dpr
#   (WINEPREFIX and WINEPATH set, the converter registered)
set -u
program=$1 probe=$2 project=$3
. "$(dirname "$0")/desktop-common.sh"
start_display 640x480

# The frame of the window TITLE against the fit. Wine's SM_CYFULLSCREEN is 11
# pixels more than the screen's height, so the fit is taller than Windows
# lets a window be: the system holds every window to its largest size.
check_frame() {
    local rectangles
    rectangles=$(wine "$probe" rect "$1" 2>&1 | tr -d '\r')
    if ! awk '/^window / { w = $2 " " $3 " " $4 " " $5 }
              /^fit / && NF == 5 { l = $2; t = $3; fw = $4; fh = $5 }
              /^largest / { mw = $2; mh = $3 }
              END { exit !(w != "" && l != "" &&
                           w == l " " t " " (fw < mw ? fw : mw) " " (fh < mh ? fh : mh)) }' \
        <<<"$rectangles"; then
        fail "the frame is not where FitToScreen puts it ($2): ${rectangles//$'\n'/; }"
    else
        echo "ok: the frame where FitToScreen puts it ($2): ${rectangles//$'\n'/; }"
    fi
}

told=$(mktemp)
wine "$probe" taskbar-top >"$told" 2>&1 &
taskbar=$!
for _ in $(seq 1 40); do
    grep -q taskbar "$told" && break
    sleep 0.5
done
wine "$program" >/dev/null 2>&1 &
pembrill=$!
if wait_for "^Pembrill$" >/dev/null; then
    check_frame Pembrill "a taskbar at the top"
else
    fail "no main window \"Pembrill\" beside a taskbar at the top"
fi
kill $pembrill $taskbar 2>/dev/null
{ wait $pembrill $taskbar; } 2>/dev/null
rm -f "$told"

print_files() { find "$WINEPREFIX/drive_c/users" -name 'pbx*.TMP' | sort; }
earlier=$(print_files)
wine "$program" "$project" >/dev/null 2>&1 &
pembrill=$!
if ! main=$(wait_for "^Pembrill: "); then
    fail "the project does not open"
    kill $pembrill
    exit 1
fi
title=$(xdotool getwindowname "$main")
check_frame "$title" "Wine's taskbar"
# The splash closes itself first. Then Print Setup from the main window, and
# there Dependencies Filtered (the arrow key from None, which has the focus),
# Source Code All (a click) and Preview.
for _ in $(seq 1 20); do
    shown "^About$" || break
    sleep 0.5
done
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p
if setup=$(wait_for "^Print Setup$"); then
    xdotool key --window "$setup" Down
    xdotool mousemove --window "$setup" 30 148 click 1
    xdotool key --window "$setup" alt+r
fi
made=()
wait_for "^Pembrill Preview$" >/dev/null &&
    mapfile -t made < <(comm -13 <(echo "$earlier") <(print_files))
if [ ${#made[@]} = 0 ]; then
    fail "no preview, or no print file in the temporary folder"
    kill $pembrill
    exit 1
fi
echo "ok: the preview shows, with ${#made[@]} print files"
still_there() {
    local count=0 file
    for file in "${made[@]}"; do
        [ -f "$file" ] && count=$((count + 1))
    done
    echo $count
}

wine "$probe" end-session "$title" cancelled
sleep 1
left=$(still_there)
if [ "$left" != ${#made[@]} ]; then
    fail "a cancelled session end leaves $left of ${#made[@]} print files"
elif ! shown "^Pembrill Preview$"; then
    fail "a cancelled session end closes the preview"
else
    echo "ok: a cancelled session end leaves the preview and its files"
fi

wine "$probe" end-session "$title" ended
{ wait $pembrill; } 2>/dev/null
left=$(still_there)
if [ "$left" != 0 ]; then
    fail "the session has ended, and $left of ${#made[@]} print files are still there"
else
    echo "ok: the session's end removes the print files"
fi
exit $failed
