#!/usr/bin/env bash
# The real program against faults of its data folder: an unreadable page,
# a settings file that is a folder or unreadable, a read-only folder, a full
# disk, a file-size limit, and pasting an empty clipboard. Each shows one
# clear message, keeps running, and leaves every file as it was; a stop
# signal ends the program even when what it holds cannot be saved, and
# keeps the text it could not save in a rescue file outside the data folder.
set -u
. "$(dirname "$0")/lib.sh"
start_display
export XDG_STATE_HOME="$WORK/state" # rescue files of the user are none of these tests' business

# start_limited DATA [ulimit-f]: the program with permissions enforced.
start_limited() {
  local limit=${2:-unlimited}
  VELNOTE_DATA_DIR="$1" bash -c 'ulimit -f "$0"; exec "$@"' "$limit" \
    $( [ "$(id -u)" -eq 0 ] && echo setpriv --bounding-set -dac_override,-dac_read_search,-fowner ) \
    "$VNOTE" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
}

# Every error box also goes to the error output as "Velnote: <text>"; so
# do the lines telling where unsaved text went, which are no box.
boxes() { grep '^Velnote: ' "$WORK/app.log" 2>/dev/null | grep -vc '書き出しました。$\|ここに書き出します。$' || true; }
box_says() { grep -q "$1" "$WORK/app.log"; }
alive() { kill -0 "$APP_PID" 2>/dev/null; }

# snapshot DIR [NAME-PATTERN]: name, mode and checksum of every file and folder.
snapshot() {
  (cd "$1" && find . -mindepth 1 -name "${2:-*}" -printf '%p %m %y\n' | sort | while read -r p m y; do
    if [ "$y" = f ]; then echo "$p $m $(file_sum "$p")"; else echo "$p $m $y"; fi
  done)
}
file_sum() { sha1sum "$1" 2>/dev/null | cut -c1-40 || echo unreadable; }
# kept BEFORE DIR: every entry of the snapshot BEFORE is still as it was.
kept() { [ -z "$(comm -23 "$1" <(snapshot "$2"))" ]; }

focus_main() {
  local win
  win=$(visible_windows | head -1)
  [ -n "$win" ] && { xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"; }
  sleep 0.3
}
dismiss_box() { # the error box has the focus: Return presses its OK
  xdotool key Return
  sleep 0.5
}
end_app() { # SIGTERM; an error box on the way out is answered
  kill -TERM "$APP_PID" 2>/dev/null
  local deadline=$((SECONDS + 8))
  while alive && [ $SECONDS -lt $deadline ]; do
    sleep 0.5
    xdotool key Return 2>/dev/null
  done
  if alive; then kill -9 "$APP_PID"; fi
  wait "$APP_PID" 2>/dev/null
  APP_PID=
}

pages() { # pages DIR N: N page files "page k" with CR LF
  local k
  for k in $(seq 0 $(($2 - 1))); do
    name=Vnote$k.vnm; [ "$k" = 0 ] && name=Vnote.vnm
    printf 'page %d\r\n' $((k + 1)) >"$1/$name"
  done
}

# -- 1. page 5 unreadable: later pages load and no file changes
data="$WORK/unreadable"; mkdir -p "$data"
pages "$data" 10
chmod 000 "$data/Vnote4.vnm"
snapshot "$data" >"$WORK/before"
start_limited "$data"
check "unreadable page: the window comes up" wait_for 10 window_shown
sleep 1
check "unreadable page: one message" test "$(boxes)" = 1
check "unreadable page: it names Vnote4.vnm" box_says 'Vnote4.vnm'
dismiss_box
focus_main
xdotool key ctrl+Page_Down ctrl+Page_Down # the shown pages
check "unreadable page: the program keeps running" alive
end_app
check "unreadable page: every file as it was (pages 6-10 kept)" kept "$WORK/before" "$data"
chmod 600 "$data/Vnote4.vnm"
check "unreadable page: its text is still there" grep -q 'page 5' "$data/Vnote4.vnm"

# -- 2./3. settings file that is a folder, or unreadable
for fault in folder mode000; do
  data="$WORK/ini-$fault"; mkdir -p "$data"
  pages "$data" 30
  if [ $fault = folder ]; then
    mkdir "$data/Vnote.ini"
  else
    printf '[ShowVnote]\r\nCount=5\r\n' >"$data/Vnote.ini"
    chmod 000 "$data/Vnote.ini"
  fi
  snapshot "$data" >"$WORK/before"
  start_limited "$data"
  check "settings $fault: the window comes up" wait_for 10 window_shown
  sleep 1
  check "settings $fault: one message at start" test "$(boxes)" = 1
  check "settings $fault: it names Vnote.ini" box_says 'Vnote.ini'
  dismiss_box
  check "settings $fault: the program keeps running" alive
  end_app
  check "settings $fault: every file as it was" kept "$WORK/before" "$data"
done

# -- 4. read-only data folder: pages read, nothing written, one message
data="$WORK/readonly"; mkdir -p "$data"
pages "$data" 3 # pages 4-30 have no file yet: they cannot be created
printf '[ShowVnote]\r\nCount=3\r\n' >"$data/Vnote.ini"
chmod 555 "$data"
snapshot "$data" >"$WORK/before"
export XDG_STATE_HOME="$WORK/state-readonly"
start_limited "$data"
check "read-only folder: the window comes up" wait_for 10 window_shown
sleep 1
check "read-only folder: one message at start" test "$(boxes)" = 1
dismiss_box
focus_main
xdotool key ctrl+End
xdotool type --delay 20 "typed"
sleep 0.3
kill -TERM "$APP_PID"
check "read-only folder: SIGTERM ends the program although the typed text cannot be saved" \
  wait_for 5 process_gone
check "read-only folder: the failed save says so" box_says 'Vnote.vnm'
wait "$APP_PID" 2>/dev/null; APP_PID=
check "read-only folder: every file as it was, no temporary file" kept "$WORK/before" "$data"
check "read-only folder: nothing new in it" test "$(snapshot "$data" | wc -l)" = "$(wc -l <"$WORK/before")"
check "read-only folder: the typed text is kept in a rescue file" \
  grep -q 'typed' "$XDG_STATE_HOME"/velnote/rescued/Vnote.vnm.*.txt
chmod 755 "$data"

# -- 5. full disk (a small tmpfs; needs the right to mount)
full="$WORK/full"; mkdir -p "$full"
if mount -t tmpfs -o size=1m tmpfs "$full" 2>/dev/null; then
  data="$full/data"; mkdir -p "$data"
  pages "$data" 30
  export XDG_STATE_HOME="$WORK/state-full"
  start_limited "$data"
  wait_for 10 window_shown
  # the first backup generation of a new folder is made at start: let it be
  wait_for 10 test -n "$(find "$data/BackUp" -mindepth 1 -maxdepth 1 ! -name '.*' 2>/dev/null)"
  sleep 1
  snapshot "$data" 'Vnote*' >"$WORK/before"
  dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null # fills the disk
  focus_main
  xdotool key ctrl+End
  xdotool type --delay 20 "on a full disk"
  sleep 0.3
  kill -TERM "$APP_PID"
  check "full disk: SIGTERM ends the program when the save fails" wait_for 5 process_gone
  wait "$APP_PID" 2>/dev/null; APP_PID=
  # the page and, on the way out, the run record: each told once
  check "full disk: the failed page save told once" \
    test "$(grep -v 'に書き出しました。$' "$WORK/app.log" | grep -c '^Velnote: .*Vnote\.vnm')" = 1
  rescued=$(grep -l 'on a full disk' "$XDG_STATE_HOME"/velnote/rescued/Vnote.vnm.*.txt 2>/dev/null)
  check "full disk: the typed text is kept in one rescue file" test "$(echo "$rescued" | wc -w)" = 1
  check "full disk: the error output names it" box_says "^Velnote: メモ.*内容を $rescued に書き出しました"
  check "full disk: every page file as it was" kept "$WORK/before" "$data"
  check "full disk: no temporary file left" test -z "$(find "$data" -name '.*.??????')"
  rm -f "$full/filler"
  start_limited "$data"
  check "full disk: with room again the program starts" wait_for 10 window_shown
  check "full disk: the start tells where the rescued text is" wait_for 5 box_says "^$rescued"
  end_app
  check "full disk: the rescue file is kept" test -f "$rescued"
  check "full disk: the page holds what was saved before the disk filled" \
    cmp -s <(printf 'page 1\r\n') "$data/Vnote.vnm"
  umount "$full"
else
  echo "skipped: full disk (no right to mount a small tmpfs here)"
fi

# -- 6. file-size limit: a save past it fails like a full disk
# (needs the program to ignore SIGXFSZ, which lands with the text foundation)
if [ "${FSIZE_CHECKS:-0}" = 1 ]; then
  data="$WORK/limit"; mkdir -p "$data"
  export XDG_STATE_HOME="$WORK/state-limit"
  head -c 3900 /dev/zero | tr '\0' 'a' >"$data/Vnote.vnm"
  pages_ok=$(sha1sum "$data/Vnote.vnm")
  start_limited "$data" 4 # 4 KB
  wait_for 10 window_shown
  sleep 1
  boxes_at_start=$(boxes)
  focus_main
  xdotool key ctrl+End
  xdotool type --delay 10 "$(head -c 300 /dev/zero | tr '\0' 'b')"
  sleep 0.3
  kill -TERM "$APP_PID"
  check "file-size limit: SIGTERM ends the program when the save fails" wait_for 5 process_gone
  wait "$APP_PID" 2>/dev/null; APP_PID=
  check "file-size limit: one message" test "$(($(boxes) - boxes_at_start))" = 1
  check "file-size limit: the page file as it was" test "$(sha1sum "$data/Vnote.vnm")" = "$pages_ok"
  check "file-size limit: no temporary file left" test -z "$(find "$data" -name '.Vnote.vnm.*')"
fi

# -- 7. Ctrl+V with an empty clipboard (nobody has copied anything)
data="$WORK/paste"; mkdir -p "$data"
printf 'kept' >"$data/Vnote.vnm"
start_app "$data"
wait_for 10 window_shown
focus_main
xdotool key ctrl+v shift+Insert
xdotool click 2
sleep 1
check "empty clipboard: Ctrl+V, Shift+Insert and middle click leave the program running" alive
stop_app TERM
check "empty clipboard: the page is as it was" test "$(cat "$data/Vnote.vnm")" = kept
finish
