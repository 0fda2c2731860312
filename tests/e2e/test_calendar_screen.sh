#!/usr/bin/env bash
# The real program on a data folder carried over from another machine
# (Shift-JIS, CR LF) shows the current month with its holidays and schedule
# bars in the calendar, and today's diary below it. The screenshot is kept
# in $VELNOTE_SHOT_DIR when that is set, for a person to look at.
set -u
. "$(dirname "$0")/lib.sh"
skip_without import python3
start_display

data="$WORK/data"
mkdir -p "$data"
sjis() { iconv -f UTF-8 -t CP932; }
y=$(date +%Y) m=$(date +%m) d=$(date +%d)
# Colours that nothing else on screen has: orange schedule bars, purple holidays.
printf '[CalendarColor]\r\nSchedule=2130144\r\nHoliday=10485920\r\n[Calendar]\r\nTextShadow=0\r\n' | sjis >"$data/Vnote.ini"
printf '%s15,%s,%s,創立記念日\r\n' "$m" "$y" "$y" | sjis >"$data/Holiday.dat"
printf '%s%s100900,00,0,0,0,%s%s10,定例会議\r\n%s%s201330,10,0,0,0,%s%s20,歯医者\r\n' \
  "$y" "$m" "$y" "$m" "$y" "$m" "$y" "$m" | sjis >"$data/Schedule.dat"
mkdir -p "$data/Diary/$y$m"
printf '今日の日記\r\n' | sjis >"$data/Diary/$y$m/$y$m$d.txt"
cp "$data/Schedule.dat" "$WORK/Schedule.orig"
cp "$data/Holiday.dat" "$WORK/Holiday.orig"

start_app "$data"
check "the program starts on the folder" wait_for 10 window_shown
sleep 2
import -window root -depth 8 "$WORK/screen.ppm"
[ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/calendar_screen.png"

count() { # count R G B TOLERANCE: pixels of about that colour on the screen
  python3 - "$WORK/screen.ppm" "$@" <<'PY'
import sys
path, r, g, b, tol = sys.argv[1], *map(int, sys.argv[2:6])
data = open(path, "rb").read()
parts, pos = [], 0
while len(parts) < 4:  # P6, width, height, maxval
    while data[pos:pos + 1].isspace():
        pos += 1
    if data[pos:pos + 1] == b"#":
        pos = data.index(b"\n", pos)
        continue
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    parts.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
n = 0
for i in range(0, len(pixels) - 2, 3):
    if abs(pixels[i] - r) <= tol and abs(pixels[i + 1] - g) <= tol and abs(pixels[i + 2] - b) <= tol:
        n += 1
print(n)
PY
}
bars=$(count 224 128 32 0)
holiday=$(count 160 0 160 30)
check "two schedule bars in the month (found $bars orange pixels)" test "$bars" -ge 30
check "the user holiday's day number in the holiday colour ($holiday pixels)" test "$holiday" -ge 3
stop_app TERM
check "it ends with 0" test "$APP_RC" = 0
check "Schedule.dat is byte for byte as it was" cmp -s "$data/Schedule.dat" "$WORK/Schedule.orig"
check "Holiday.dat is byte for byte as it was" cmp -s "$data/Holiday.dat" "$WORK/Holiday.orig"
check "the diary file is as it was" sh -c "iconv -f CP932 -t UTF-8 '$data/Diary/$y$m/$y$m$d.txt' | grep -q '今日の日記'"
finish
