#!/usr/bin/env bash
# A start-time message left open holds nothing up. Under openbox with a
# tray, the program runs on a clock made by libfaketime: it starts at 10:00:56
# with a schedule at 10:01 (its "情報" box), a balloon hint and a second
# schedule at 10:02. While the first box stays open the clock panel goes on
# ticking; the clock is then moved on a minute, and the hint's balloon comes
# up beside the open box; closing the box brings up the second schedule's.
# Screenshots go to $VELNOTE_SHOT_DIR when that is set.
set -u
. "$(dirname "$0")/lib.sh"
skip_without openbox trayer import python3 iconv xwininfo
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
if [ -z "$FAKETIME_LIB" ]; then
  echo "skipped: libfaketime is not installed"
  exit 0
fi
start_display
start_desktop tray

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
today=$(date +%Y%m%d)
printf '%s1001,00,0,0,0,%s,一つ目の予定\r\n%s1002,00,0,0,0,%s,二つ目の予定\r\n' \
  "$today" "$today" "$today" "$today" | sjis >"$data/Schedule.dat"
printf '1,1002,ヒントの時間です\r\n' | sjis >"$data/BalloonHint.dat"

# The program's clock: the offset in seconds libfaketime reads from a file
# (again at most a second later when the file changes).
clock_file="$WORK/faketime"
# A signed offset: after 10:00:56 of the real day it is negative ("-1514").
printf '%+d\n' "$(($(date -d "today 10:00:56" +%s) - $(date +%s)))" >"$clock_file"
move_clock() { # move_clock SECONDS
  printf '%+d\n' "$((${1} + $(cat "$clock_file")))" >"$clock_file.new" &&
    mv "$clock_file.new" "$clock_file"
}
LD_PRELOAD="$FAKETIME_LIB" FAKETIME_TIMESTAMP_FILE="$clock_file" FAKETIME_CACHE_DURATION=1 \
  FAKETIME_DONT_FAKE_MONOTONIC=1 VELNOTE_DATA_DIR="$data" "$VNOTE" >"$WORK/app.log" 2>&1 &
APP_PID=$!

shot() { # shot NAME: the screen to $WORK/NAME.ppm (and a PNG for a person)
  import -window root -depth 8 "$WORK/$1.ppm"
  if [ -n "${VELNOTE_SHOT_DIR:-}" ]; then
    mkdir -p "$VELNOTE_SHOT_DIR"
    import -window root "$VELNOTE_SHOT_DIR/start_message_$1.png"
  fi
}
info_boxes() { xdotool search --onlyvisible --name '^情報$' 2>/dev/null || true; }
# The balloons: visible windows of the program that bypass the window
# manager (override-redirect); the main window and the boxes do not.
balloons() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && echo "$w"
  done
}
one_box() { [ "$(info_boxes | wc -l)" -eq 1 ]; }

check "the program starts" wait_for 10 window_shown
check "the 10:01 schedule opens its message" wait_for 15 one_box
first_box=$(info_boxes | head -1)
main=$(visible_windows | head -1)

# The clock panel sits at the right end of the main window's tool bar.
read -r x y w < <(xwininfo -id "$main" |
  awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} END{print x, y, w}')
panel="$((x + w - 140)) $y $((x + w)) $((y + 30))"
shot ticking1
sleep 2.2
shot ticking2
changed=$(python3 "$(dirname "$0")/ppm_count.py" --diff "$WORK/ticking1.ppm" "$WORK/ticking2.ppm" $panel)
check "the clock panel goes on while the message is open ($changed pixels changed)" \
  test "$changed" -gt 10

before=$(balloons | sort)
move_clock 60 # to 10:02 and a few seconds
new_balloon() { [ -n "$(comm -13 <(echo "$before") <(balloons | sort))" ]; }
check "the 10:02 balloon hint comes up while the message is open" wait_for 10 new_balloon
shot hint
check "the second schedule's message waits while the first is open" \
  test "$(info_boxes)" = "$first_box"

xdotool windowactivate --sync "$first_box" 2>/dev/null
xdotool key Return
second_box() { local b; b=$(info_boxes); [ -n "$b" ] && [ "$b" != "$first_box" ]; }
check "closing it brings up the 10:02 schedule's message" wait_for 10 second_box
shot second
xdotool windowactivate --sync "$(info_boxes | head -1)" 2>/dev/null
xdotool key Return
check "the second message closes" wait_for 5 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^情報$')\" ]"

stop_app TERM
check "the program ends cleanly" test "$APP_RC" = 0
finish
