#!/usr/bin/env bash
# Crash consistency of the real program: rounds of typing into a large page,
# then kill -9 at a random moment, either while typing or while the closing
# save runs after SIGTERM. After every kill each page file holds its old or
# its new content whole, the settings file is whole, and no temporary file
# of an earlier round survives the next start.
#   CRASH_ROUNDS   rounds to run (default 24; scripts/crash-rounds.sh: 1000)
#   CRASH_SEED     seed of the random moments (default: the time)
set -u
. "$(dirname "$0")/lib.sh"
start_display

rounds=${CRASH_ROUNDS:-24}
seed=${CRASH_SEED:-}
seed=${seed:-$(date +%s)}
RANDOM=$seed
echo "crash rounds: $rounds, seed $seed"
data="$WORK/data"
mkdir -p "$data"

# Page 1 is large (its save takes a while), pages 2-30 small; all CR LF.
python3 - "$data" <<'EOF'
import sys, os
d = sys.argv[1]
line = "会議メモ 2026/12/09 確認 todo OK 資料 予定\r\n"
with open(os.path.join(d, "Vnote.vnm"), "wb") as f:
    f.write((line * 40000).encode("cp932"))  # about 1.7 MB
for k in range(1, 30):
    with open(os.path.join(d, "Vnote%d.vnm" % k), "wb") as f:
        f.write(("page %d\r\n" % (k + 1)).encode("cp932"))
EOF

page_files() { (cd "$data" && ls Vnote*.vnm | sort); }
sums() { (cd "$data" && sha1sum $(page_files)); }

# ini_whole FILE: empty, or lines that are all sections, key=value or blank,
# each ending with CR LF.
ini_whole() {
  [ ! -s "$1" ] && return 0
  [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ] || return 1
  ! tr -d '\r' <"$1" | grep -Ev '^(\[[^]]*\]|[^=]+=.*|)$' >/dev/null
}

bad=0
temp_left=0
for round in $(seq 1 "$rounds"); do
  old_sums=$(sums)
  old_page=$(sha1sum <"$data/Vnote.vnm")
  old_size=$(stat -c %s "$data/Vnote.vnm")
  started=$(date +%s)
  sleep 1.1 # temporary files of the last round are now older than this start
  start_app "$data"
  if ! wait_for 15 window_shown; then
    echo "round $round: no window"; bad=$((bad + 1)); kill -9 "$APP_PID" 2>/dev/null; continue
  fi
  if [ "${TEMP_CLEANUP_CHECK:-1}" = 1 ]; then
    sleep 0.5
    stale=$(find "$data" -maxdepth 1 -name '.Vnote*' ! -newermt "@$started" | wc -l)
    [ "$stale" -gt 0 ] && { echo "round $round: $stale stale temporary files after the start"; temp_left=$((temp_left + 1)); }
  fi
  win=$(visible_windows | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key ctrl+End
  typed="r${round}-$RANDOM"
  mode=$((RANDOM % 2))
  delay_ms=$((RANDOM % 400))
  if [ $mode = 0 ]; then # kill while typing
    xdotool type --delay 15 "$typed" &
    typing=$!
    sleep "0.$(printf '%03d' $delay_ms)"
    kill -9 "$APP_PID" 2>/dev/null
    wait "$typing" 2>/dev/null
  else # kill during the closing save
    xdotool type --delay 15 "$typed"
    sleep 0.2
    kill -TERM "$APP_PID" 2>/dev/null
    sleep "0.$(printf '%03d' $delay_ms)"
    kill -9 "$APP_PID" 2>/dev/null
  fi
  wait "$APP_PID" 2>/dev/null
  APP_PID=

  # Page 1: the old bytes, or the old bytes with (part of) the typed text.
  new_page=$(sha1sum <"$data/Vnote.vnm")
  if [ "$new_page" != "$old_page" ]; then
    added=$(tail -c +$((old_size + 1)) "$data/Vnote.vnm")
    case "$typed" in
      "$added"*) [ -n "$added" ] || { echo "round $round: page 1 changed, nothing added"; bad=$((bad + 1)); } ;;
      *) echo "round $round (mode $mode, ${delay_ms} ms): page 1 torn: '$added'"; bad=$((bad + 1)) ;;
    esac
  fi
  # The other pages never change.
  now_sums=$(sums)
  if [ "$(echo "$old_sums" | grep -v ' Vnote.vnm$')" != "$(echo "$now_sums" | grep -v ' Vnote.vnm$')" ]; then
    echo "round $round: another page changed"; bad=$((bad + 1))
  fi
  if ! ini_whole "$data/Vnote.ini"; then
    echo "round $round: Vnote.ini torn"; bad=$((bad + 1))
  fi
done
check "$rounds kill -9 rounds: every page file old or new and whole, the settings whole" test "$bad" = 0
if [ "${TEMP_CLEANUP_CHECK:-1}" = 1 ]; then
  check "every start removed the temporary files the kills left" test "$temp_left" = 0
fi
echo "crash rounds done: $rounds"
finish
