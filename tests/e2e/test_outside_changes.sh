#!/usr/bin/env bash
# The real program and another program writing the same data folder (as a
# sync tool does: a new file renamed over the old one, or in place). A page
# edited here and rewritten outside is saved with the text typed here, the
# outside version is kept in a copy beside it, the user is told once and can
# open the copy as a reference page; a page not edited here takes the
# outside text and never writes its old one back.
# E2E_SHOTS=DIR keeps a screenshot of the message there.
set -u
. "$(dirname "$0")/lib.sh"
start_display

data="$WORK/data"
mkdir -p "$data"
printf '[ShowVnote]\r\nCount=3\r\n' >"$data/Vnote.ini"
printf 'page one\r\n' >"$data/Vnote.vnm"
printf 'page two\r\n' >"$data/Vnote1.vnm"

box_windows() { xdotool search --onlyvisible --name '^警告$' 2>/dev/null || true; }
box_shown() { [ -n "$(box_windows)" ]; }
no_box() { [ -z "$(box_windows)" ]; }
copies() { find "$data" -maxdepth 1 -name 'Vnote (外部の変更 *).txt' | sort; }
close_window() { visible_windows | head -1 | xargs -r xdotool windowclose 2>/dev/null; }

start_app "$data"
check "the window comes up" wait_for 10 window_shown
win=$(visible_windows | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
sleep 0.5
xdotool key ctrl+End
xdotool type --delay 20 "typed here"
sleep 0.3

# Another program rewrites both pages: page 1 by rename, page 2 in place.
printf 'written outside\r\n' >"$data/.Vnote.vnm.sync-tmp"
mv "$data/.Vnote.vnm.sync-tmp" "$data/Vnote.vnm"
printf 'page two, changed outside\r\n' >"$data/Vnote1.vnm"
sleep 1

close_window # a close request saves every page
check "the close request hides the window" wait_for 5 window_hidden
check "one message tells of the conflict" wait_for 5 box_shown
check "exactly one message box" test "$(box_windows | wc -l)" -eq 1
if [ -n "${E2E_SHOTS:-}" ]; then
  mkdir -p "$E2E_SHOTS"
  import -window root "$E2E_SHOTS/outside-change-message.png" 2>/dev/null
fi
check "the page file holds the text typed here" grep -q 'typed here' "$data/Vnote.vnm"
check "one conflict copy beside it" test "$(copies | wc -l)" -eq 1
copy=$(copies | head -1)
check "the copy holds the outside text" grep -q 'written outside' "$copy"
check "the untouched page keeps the outside text" \
  grep -q 'page two, changed outside' "$data/Vnote1.vnm"
check "no copy for the untouched page" test -z "$(find "$data" -name 'Vnote1 (*')"

# "Yes" opens the copy as a reference page (remembered in the settings).
xdotool windowactivate --sync "$(box_windows | head -1)" 2>/dev/null
xdotool key Return
check "the message goes away" wait_for 5 no_box
check "the copy is open as a reference page" \
  wait_for 5 grep -aq 'Vnote (' "$data/Vnote.ini"

# Saved again with nothing new from outside: no second message, no copy.
VELNOTE_DATA_DIR="$data" timeout 10 "$VNOTE" >/dev/null 2>&1 # brings the window up
wait_for 5 window_shown
close_window
sleep 2
check "no second message" no_box
check "still one conflict copy" test "$(copies | wc -l)" -eq 1

stop_app TERM
check "the program ends with 0" test "$APP_RC" = 0
check "after the end the page still holds the text typed here" grep -q 'typed here' "$data/Vnote.vnm"
check "after the end the copy still holds the outside text" grep -q 'written outside' "$copy"
check "after the end the untouched page still holds the outside text" \
  grep -q 'page two, changed outside' "$data/Vnote1.vnm"
finish
