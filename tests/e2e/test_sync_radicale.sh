#!/bin/bash
# Two data folders as two PCs, synced through a real Radicale on 127.0.0.1
# with the command line (velnote --sync-setup / --sync); the password in a
# real keyring (gnome-keyring on a private session bus). What travels:
# an added, changed and deleted schedule both ways, a schedule changed on
# both sides (both kept, nothing doubled), an event as a phone writes it,
# a diary day; a sync killed half-way and a server stopped in the middle
# are finished by the next sync.
set -u
. "$(dirname "$0")/lib.sh"
skip_without radicale gnome-keyring-daemon dbus-daemon curl iconv

WORK=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT
mkdir -p "$WORK/bus" "$WORK/home" "$WORK/rad" "$WORK/A" "$WORK/B"
chmod 700 "$WORK/home"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/home" XDG_DATA_HOME="$WORK/home/data"
unset XDG_CURRENT_DESKTOP
export TZ=Asia/Tokyo # both PCs in one zone: a phone's 07:30 is 07:30 on each
support="$(dirname "$0")/../support"

sh "$support/private-bus.sh" "$WORK/bus" >"$WORK/bus/address" &
wait_for 5 test -s "$WORK/bus/address" || { echo "FAIL - no private bus"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus/address")
printf 'keyring-unlock' | gnome-keyring-daemon --foreground --components=secrets --unlock \
  >"$WORK/keyring.log" 2>&1 &
sleep 1

PASSWORD='pässwörd-7'
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'alice:%s\n' "$PASSWORD" >"$WORK/rad/users"
cat >"$WORK/rad/config" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $WORK/rad/users
htpasswd_encryption = plain
delay = 0
[rights]
type = owner_only
[storage]
filesystem_folder = $WORK/rad/storage
[web]
type = none
[logging]
level = warning
CONF
URL="http://127.0.0.1:$port/"
start_server() {
  radicale --config "$WORK/rad/config" >>"$WORK/rad/log" 2>&1 &
  SERVER_PID=$!
  wait_for 10 curl -s -o /dev/null "$URL"
}
start_server

sjis() { iconv -f UTF-8 -t CP932; }
lines() { iconv -f CP932 -t UTF-8 "$WORK/$1/Schedule.dat" 2>/dev/null | tr -d '\r' | sort; }
vn() { # vn PC ARGS...: the program on that PC's folder, quiet
  VELNOTE_DATA_DIR="$WORK/$1" timeout 60 "$VNOTE" "${@:2}" >>"$WORK/out.log" 2>&1
}
same() { [ "$(lines A)" = "$(lines B)" ]; }
has() { lines "$1" | grep -qF -- "$2"; }
count() { lines "$1" | grep -cF -- "$2"; }
events() { find "$WORK/rad/storage" -name '*.ics' -not -path '*/.Radicale.cache/*' | wc -l; }
export WORK
export -f sjis lines same has count events

# Set up: A makes the calendar "Velnote", B finds it.
printf '202612150900,00,0,0,0,20261215,会議, 打ち合わせ\r\n' | sjis >"$WORK/A/Schedule.dat"
check "A is set up (the calendar is made)" vn A --sync-setup "$URL" alice <<<"$PASSWORD"
check "B is set up with the same calendar" vn B --sync-setup "$URL" alice Velnote <<<"$PASSWORD"
check "the password is in no file of either folder" \
  bash -c "! grep -rqF -- '$PASSWORD' '$WORK/A' '$WORK/B'"
check "a wrong password fails with one line" bash -c \
  "! VELNOTE_DATA_DIR='$WORK/C' timeout 60 '$VNOTE' --sync-setup '$URL' alice <<<wrong 2>'$WORK/err' && [ \$(wc -l <'$WORK/err') -eq 1 ] && grep -q パスワード '$WORK/err'"

# Added on A, arrives on B with its comma intact.
vn A --sync; vn B --sync
check "a schedule added on A arrives on B" has B '会議, 打ち合わせ'
check "both folders hold the same lines" same

# Changed on B, deleted on A.
printf '202612150900,00,0,0,0,20261215,会議 (場所変更)\r\n202612200800,00,0,0,0,20261220,散髪\r\n' | sjis >"$WORK/B/Schedule.dat"
vn B --sync; vn A --sync
check "a change on B arrives on A" has A '会議 (場所変更)'
check "a schedule added on B arrives on A" has A '散髪'
check "the old text is gone from A" bash -c "! lines A | grep -qF '会議, 打ち合わせ'"
lines A | grep -vF '散髪' | sjis | sed 's/$/\r/' >"$WORK/A/Schedule.dat.new" && mv "$WORK/A/Schedule.dat.new" "$WORK/A/Schedule.dat"
vn A --sync; vn B --sync
check "a delete on A deletes on B" bash -c "! lines B | grep -qF '散髪'"

# The same schedule changed on both sides: both kept, nothing doubled.
printf '202612150900,00,0,0,0,20261215,会議 A案\r\n' | sjis >"$WORK/A/Schedule.dat"
printf '202612150900,00,0,0,0,20261215,会議 B案\r\n' | sjis >"$WORK/B/Schedule.dat"
vn A --sync; vn B --sync; vn A --sync; vn B --sync; vn A --sync
check "changed on both sides: A holds both versions" bash -c "lines A | grep -qF 'A案' && lines A | grep -qF 'B案'"
check "changed on both sides: B holds both versions" bash -c "lines B | grep -qF 'A案' && lines B | grep -qF 'B案'"
check "nothing doubled on either PC" bash -c "[ \$(count A '会議') -eq 2 ] && [ \$(count B '会議') -eq 2 ]"
check "the server holds one event per line" bash -c "[ \$(events) -eq 2 ]"

# An event as a phone or a web calendar writes it.
cal=$(sed -n 's/^Calendar=//p' "$WORK/A/VnoteSync.ini" | tr -d '\r')
put_event() { # put_event NAME: the iCalendar object on standard input; prints the status
  curl -s -u "alice:$PASSWORD" -X PUT -H 'Content-Type: text/calendar' -H 'If-None-Match: *' \
    --data-binary @- "${cal}$1.ics" -o /dev/null -w '%{http_code}\n'
}
put_event phone-1 >"$WORK/put.code" <<'ICS'
BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Phone//Calendar//EN
BEGIN:VTIMEZONE
TZID:Asia/Tokyo
BEGIN:STANDARD
DTSTART:19700101T000000
TZOFFSETFROM:+0900
TZOFFSETTO:+0900
TZNAME:JST
END:STANDARD
END:VTIMEZONE
BEGIN:VEVENT
UID:phone-1@example.com
DTSTAMP:20261201T000000Z
DTSTART;TZID=Asia/Tokyo:20261207T073000
DTEND;TZID=Asia/Tokyo:20261207T080000
RRULE:FREQ=WEEKLY;BYDAY=MO
SUMMARY:ジョギング
DESCRIPTION:
LOCATION:
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:-PT10M
DESCRIPTION:ジョギング
END:VALARM
END:VEVENT
END:VCALENDAR
ICS
put_event phone-2 >>"$WORK/put.code" <<'ICS'
BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Web//Calendar//EN
BEGIN:VEVENT
UID:phone-2@example.com
DTSTAMP:20261201T000000Z
DTSTART;VALUE=DATE:20261228
DTEND;VALUE=DATE:20261231
SUMMARY:帰省
END:VEVENT
END:VCALENDAR
ICS
check "the phone's events are stored (201)" bash -c "[ \"\$(sort -u '$WORK/put.code')\" = 201 ]"
vn A --sync
check "a weekly event from a phone is one repeating line" bash -c \
  "[ \$(count A 'ジョギング') -eq 1 ]"
lines A | grep -F 'ジョギング' >"$WORK/jog"
check "the phone's time and alarm arrive (07:30, ten minutes before)" grep -q '^202612070730,10,' "$WORK/jog"
check "an all-day span from a phone keeps its days (28th to 30th)" \
  bash -c "[ \$(count A '帰省') -eq 1 ] && lines A | grep -q '^20261228[0-9]*,.*,20261230,帰省\$'"

# A diary day travels as a journal.
for pc in A B; do sed -i 's/^Diary=0/Diary=1/' "$WORK/$pc/VnoteSync.ini"; done
mkdir -p "$WORK/A/Diary/202612"
printf '今日は晴れ。\r\n' | sjis >"$WORK/A/Diary/202612/20261210.txt"
vn A --sync; vn B --sync
check "a diary day arrives on B" cmp -s "$WORK/A/Diary/202612/20261210.txt" "$WORK/B/Diary/202612/20261210.txt"
check "it is a VJOURNAL on the server" bash -c "grep -rlq 'BEGIN:VJOURNAL' '$WORK/rad/storage'"

# Many schedules, the sync killed half-way, then synced again.
for i in $(seq 1 300); do
  printf '2027%02d%02d1000,00,0,0,0,2027%02d%02d,予定 %d\r\n' $(( (i % 12) + 1 )) $(( (i % 28) + 1 )) \
    $(( (i % 12) + 1 )) $(( (i % 28) + 1 )) "$i"
done | sjis >>"$WORK/A/Schedule.dat"
VELNOTE_DATA_DIR="$WORK/A" "$VNOTE" --sync >/dev/null 2>&1 &
sleep 0.5
kill -9 $! 2>/dev/null
wait $! 2>/dev/null
vn A --sync; vn B --sync; vn A --sync
check "after a killed sync both folders are equal" same
check "nothing doubled after a killed sync" bash -c "[ \$(lines A | grep -c '予定 ') -eq 300 ]"

# The server stopped and started again.
printf '202701051000,00,0,0,0,20270105,仕事始め\r\n' | sjis >>"$WORK/B/Schedule.dat"
kill "$SERVER_PID"; wait "$SERVER_PID" 2>/dev/null
check "a sync with the server down fails with one line" bash -c \
  "! VELNOTE_DATA_DIR='$WORK/B' timeout 60 '$VNOTE' --sync 2>'$WORK/err' && [ \$(wc -l <'$WORK/err') -eq 1 ]"
start_server
vn B --sync; vn A --sync
check "once the server is back the change arrives" has A '仕事始め'
check "the folders are equal at the end" same

finish
