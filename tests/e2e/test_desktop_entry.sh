#!/usr/bin/env bash
# The menu entry matches the running program: its StartupWMClass is the
# class of the main window, and the window carries the program's icon.
set -u
. "$(dirname "$0")/lib.sh"
skip_without xprop
start_display

entry="$(dirname "$0")/../../data/velnote.desktop"
wm_class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
check "the menu entry names a window class" test -n "$wm_class"

data="$WORK/data"
mkdir -p "$data"
start_app "$data"
check "the main window appears" wait_for 10 window_shown
win="$(visible_windows | head -1)"
classes="$(xprop -id "$win" WM_CLASS 2>/dev/null | sed -n 's/^WM_CLASS(STRING) = //p')"
echo "WM_CLASS: $classes"
check "the window class is the entry's StartupWMClass" \
  test "$(echo "$classes" | sed 's/.*, "\(.*\)"$/\1/')" = "$wm_class"
icon_bytes="$(xprop -id "$win" -notype _NET_WM_ICON 2>/dev/null | wc -c)"
check "the window carries an icon" test "$icon_bytes" -gt 1000
stop_app TERM
finish
