#!/usr/bin/env bash
# The jobs of the running program on an empty folder: the run record has
# today's section from the start and the exact last moment after the end,
# the catch-up backup makes a generation, the caption shows the uptime.
set -u
. "$(dirname "$0")/lib.sh"
start_display
skip_without python3

data="$WORK/data"
mkdir -p "$data"
today=$(python3 -c 'import datetime; print(datetime.date.today().toordinal())')
msecs_now() { python3 -c 'import datetime as d; n=d.datetime.now(); print(((n.hour*60+n.minute)*60+n.second)*1000+n.microsecond//1000)'; }

start_app "$data"
check "the program starts on an empty folder" wait_for 10 window_shown
check "Vnote.vdt has today's section at once" wait_for 5 grep -q "^\[$today\]" "$data/Vnote.vdt"
check "today's section has a start" test -n "$(ini_value "$data/Vnote.vdt" "$today" S)"
title=$(xdotool getwindowname "$(visible_windows | head -1)")
check "the caption shows the uptime ($title)" \
  sh -c "printf '%s' \"\$1\" | grep -Eq '^Velnote   →→ PC起動から [0-9]+時間[0-9]+分 経過  \[.*起動\]$'" _ "$title"

# The catch-up generation follows a few seconds after the window is up.
generation() {
  find "$data/BackUp" -mindepth 1 -maxdepth 1 -type d -regextype posix-extended \
    -regex '.*/[0-9]{8}_[0-9]{4}00' 2>/dev/null | head -1
}
generation_complete() { # all 30 pages, both lists and the tab names
  local g
  g=$(generation)
  [ -n "$g" ] && [ "$(find "$g" -type f | wc -l)" -eq 33 ]
}
wait_for 30 generation_complete
gen=$(generation)
check "a catch-up generation is in BackUp/" test -n "$gen"
check "it holds the 30 pages, both lists and the tab names" \
  test "$(find "$gen" -type f 2>/dev/null | wc -l)" -eq 33
check "nothing half-made is left" test -z "$(find "$data/BackUp" -name '.*' 2>/dev/null)"

before=$(msecs_now)
stop_app TERM
after=$(msecs_now)
check "it ends with 0" test "$APP_RC" = 0
end=$(ini_value "$data/Vnote.vdt" "$today" E)
check "the end is the moment the program ended ($before <= $end <= $after)" \
  test "${end:-0}" -ge "$((before - 1000))" -a "${end:-0}" -le "$((after + 1000))"
check "no companion file is left after an orderly end" test ! -e "$data/Vnote.vdt.last"
finish
