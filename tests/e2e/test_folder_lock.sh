#!/usr/bin/env bash
# One writer per data folder: a second instance from another login (another
# runtime folder) on the same folder is told so in a box, and read-only it
# writes nothing; quitting at the box leaves the first instance's lock as it
# was, and the first instance's end frees the folder.
set -u
. "$(dirname "$0")/lib.sh"
skip_without python3
start_display

data="$WORK/data"
lock="$data/.~lock.Velnote#"
mkdir -p "$data"
start_app "$data"
first=$APP_PID
check "the first instance's window appears" wait_for 10 window_shown
sleep 4 # its catch-up backup, 3 s after the start, is made
check "the lock file names the first instance" grep -q "^pid=$first\$" "$lock"

# Whether some process holds a byte-range lock on the lock file (a POSIX
# lock meets the program's OFD lock).
lock_held() {
  python3 - "$lock" <<'PY'
import fcntl, sys
with open(sys.argv[1], "r+") as f:
    try:
        fcntl.lockf(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except OSError:
        sys.exit(0)
sys.exit(1)
PY
}
# Every entry of the folder with its size, modification time, mode and bytes.
snapshot() {
  (cd "$data" && find . -printf '%p %s %T@ %m %y\n' | sort | while read -r p s t m y; do
    if [ "$y" = f ]; then echo "$p $s $t $m $(sha1sum "$p" | cut -c1-40)"; else echo "$p $t $m $y"; fi
  done)
}
# start_login NAME: the program started from another login's session.
start_login() {
  mkdir -p -m 700 "$WORK/$1"
  XDG_RUNTIME_DIR="$WORK/$1" VELNOTE_DATA_DIR="$data" "$VNOTE" >"$WORK/$1.log" 2>&1 &
  OTHER_PID=$!
}
box() { xdotool search --onlyvisible --name '^確認$' 2>/dev/null | head -1; }
box_shown() { [ -n "$(box)" ]; }
focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
}
read_only_window() { xdotool search --onlyvisible --name '^Velnote \[読み取り専用\]' 2>/dev/null | head -1; }
read_only_shown() { [ -n "$(read_only_window)" ]; }
ended() { ! kill -0 "$OTHER_PID" 2>/dev/null; }

# The first instance is frozen while the second runs: anything that changes
# in the folder then is the second's doing. The kernel keeps its lock.
kill -STOP "$first"
before=$(snapshot)
start_login login2
check "another login's start shows the box" wait_for 15 box_shown
[ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/folder_in_use.png"
focus "$(box)"
xdotool key Return # "読み取り専用で開く", the default
check "read-only, the window says so in its caption" wait_for 10 read_only_shown
focus "$(read_only_window)"
xdotool type --delay 20 "typed where nothing may be written"
xdotool key Return
sleep 4 # the run record's first capture and the catch-up backup would come now
[ -n "${VELNOTE_SHOT_DIR:-}" ] && import -window root "$VELNOTE_SHOT_DIR/read_only.png"
xdotool search --onlyvisible --name '^Velnote \[' | head -1 | xargs -r xdotool windowclose
sleep 1 # the close box saves the pages and the diary
kill -TERM "$OTHER_PID"
check "the read-only instance ends on SIGTERM" wait_for 10 ended
wait "$OTHER_PID"
check "it ends with 0" test $? -eq 0
after=$(snapshot)
check "read-only wrote no byte into the folder" test "$before" = "$after"
[ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after")
kill -CONT "$first"

# Quitting at the box: the first instance keeps its lock.
lock_text=$(cat "$lock")
start_login login3
check "a third login's start shows the box too" wait_for 15 box_shown
focus "$(box)"
xdotool key Escape # "終了"
check "quitting at the box ends the program" wait_for 10 ended
wait "$OTHER_PID"
check "it ends with 0" test $? -eq 0
check "the lock file is as the first instance wrote it" test "$(cat "$lock")" = "$lock_text"
check "the first instance still holds the lock" lock_held
check "the first instance still runs" kill -0 "$first"

# The first instance's end frees the folder at once.
stop_app TERM
check "the first instance ends with 0" test "$APP_RC" = 0
check "the lock is released" test "$(lock_held && echo held)" = ""
check "the lock file names nobody" test ! -s "$lock"
start_login login4
check "the next login's start opens the folder without a box" wait_for 10 window_shown
check "... writable, without the read-only caption" test -z "$(read_only_window)$(box)"
kill -TERM "$OTHER_PID"
wait_for 10 ended
finish
