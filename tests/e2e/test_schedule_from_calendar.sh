#!/usr/bin/env bash
# A user double-clicks a day of the calendar, types what is due, presses
# Enter: Schedule.dat then holds the line in Shift-JIS with CR LF, and the
# calendar shows the day's schedule bar. The day is found on the screen from
# three schedules the folder already has (orange bars on days a, a+1 and
# a+7): the day two weeks below the first. Screenshots go to
# $VELNOTE_SHOT_DIR when that is set.
set -u
. "$(dirname "$0")/lib.sh"
skip_without import python3 iconv xkbcomp
start_display

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
y=$(date +%Y) m=$(date +%m)
# A day a (1..6) that is not a Saturday, so that a+1 lies beside it.
a=1
while [ "$(date -d "$y-$m-0$a" +%w)" = 6 ]; do a=$((a + 1)); done
target=$((a + 14))
printf '[CalendarColor]\r\nSchedule=2130144\r\n[Calendar]\r\nTextShadow=0\r\n' | sjis >"$data/Vnote.ini"
for d in $a $((a + 1)) $((a + 7)); do
  printf '%s%s%02d0900,00,0,0,0,%s%s%02d,%s日の予定\r\n' "$y" "$m" "$d" "$y" "$m" "$d" "$d"
done | sjis >"$data/Schedule.dat"

# bars: the orange schedule bars on the screen as "left top right bottom" lines.
bars() {
  import -window root -depth 8 "$WORK/screen.ppm"
  python3 - "$WORK/screen.ppm" "$(dirname "$0")" <<'PY'
import sys
sys.path.insert(0, sys.argv[2])
from ppm_count import read_ppm
w, h, px = read_ppm(sys.argv[1])
on = set()
for i in range(w * h):
    if px[3 * i] == 224 and px[3 * i + 1] == 128 and px[3 * i + 2] == 32:
        on.add((i % w, i // w))
seen, boxes = set(), []
for p in sorted(on, key=lambda q: (q[1], q[0])):
    if p in seen:
        continue
    stack, box = [p], [p[0], p[1], p[0], p[1]]
    seen.add(p)
    while stack:
        x, y = stack.pop()
        box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)]
        for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if q in on and q not in seen:
                seen.add(q)
                stack.append(q)
    if (box[3] - box[1]) >= 2:
        boxes.append(box)
for b in sorted(boxes, key=lambda b: (b[1], b[0])):
    print(*b)
PY
}

# Japanese text typed by xdotool goes through keys it maps for the moment,
# and a busy program can read such a key after it was mapped back. Give the
# characters keys of their own before the program starts, so xdotool finds
# them in the key map and maps nothing while it types.
map_keys() { # map_keys KEYSYM...: puts them on spare keys I250, I251...
  local code=250 sym args=()
  for sym in "$@"; do
    args+=(-e "s/^\( *key <I$code> *{\).*/\1 [ $sym ] };/")
    code=$((code + 1))
  done
  xkbcomp "$DISPLAY" "$WORK/keys.xkb" 2>/dev/null &&
    sed -i "${args[@]}" "$WORK/keys.xkb" &&
    xkbcomp "$WORK/keys.xkb" "$DISPLAY" 2>/dev/null
}
check "the key map takes the three characters" map_keys U6B6F U533B U8005 # 歯医者

start_app "$data"
check "the program starts" wait_for 10 window_shown
three_bars() { mapfile -t before < <(bars) && [ "${#before[@]}" -eq 3 ]; }
check "the three schedules show as three bars" wait_for 30 three_bars
read -r l1 t1 r1 b1 <<<"${before[0]:-0 0 0 0}"
read -r l2 t2 r2 b2 <<<"${before[1]:-0 0 0 0}"
read -r l3 t3 r3 b3 <<<"${before[2]:-0 0 0 0}"
cell_w=$((l2 - l1))
row_h=$((t3 - t1))
cx=$((l1 - cell_w / 2))
cy=$((t1 + 2 * row_h + (b1 - t1) / 2))
echo "bars: ${before[*]}; cell $cell_w x $row_h; double click at $cx,$cy (day $target)"
# The two clicks carry their own times: a slow program still sees a double click.
xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
editor_window() { xdotool search --onlyvisible --name '^新規予定の登録' 2>/dev/null | head -1; }
editor_focused() { editor=$(editor_window) && [ -n "$editor" ] && [ "$(xdotool getwindowfocus)" = "$editor" ]; }
check "the schedule editor opens for a new schedule, with the keyboard" wait_for 20 editor_focused
[ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/editor_from_calendar.png"
# The focus is in the text: type and press Enter.
xdotool type --delay 40 "歯医者 3F"
xdotool key Return
check "the editor closes on Enter" wait_for 20 sh -c "[ -z \"\$(xdotool search --onlyvisible --name '^新規予定の登録' 2>/dev/null)\" ]"
stored() { grep -q "$(printf '歯医者' | iconv -f UTF-8 -t CP932)" "$data/Schedule.dat"; }
check "the line is written in Shift-JIS" wait_for 20 stored

expected=$(printf '%s%s%02d' "$y" "$m" "$target")
line=$(iconv -f CP932 -t UTF-8 "$data/Schedule.dat" | grep "歯医者 3F" | tr -d '\r')
new_line_ok() { [[ "$line" =~ ^${expected}[0-9]{4},[0-9]{2},0,0,0,${expected},歯医者\ 3F$ ]]; }
check "Schedule.dat holds the new line for day $target ($line)" new_line_ok
crlf_lines() { # lines ending in CR LF, and all lines
  [ "$(grep -c $'\r$' "$data/Schedule.dat")" -eq 4 ] && [ "$(wc -l <"$data/Schedule.dat")" -eq 4 ]
}
check "four lines, each ending in CR LF" crlf_lines
# fourth_bar: four bars, the new one two rows below the first.
fourth_bar() {
  mapfile -t after < <(bars)
  [ "${#after[@]}" -eq 4 ] || return 1
  local b l t r bt
  for b in "${after[@]}"; do
    read -r l t r bt <<<"$b"
    [ "$l" -eq "$l1" ] && [ "$t" -eq $((t1 + 2 * row_h)) ] && return 0
  done
  return 1
}
check "the calendar shows a fourth bar, on day $target" wait_for 30 fourth_bar
echo "bars after: ${after[*]}"
[ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/calendar_after_store.png"
stop_app TERM
check "it ends with 0" test "$APP_RC" = 0
finish
