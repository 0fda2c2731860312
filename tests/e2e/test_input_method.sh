#!/usr/bin/env bash
# Japanese typed through a real input method (IBus with Mozc): a word still
# being composed goes into the page once when the window hides and comes
# back or when another editor is clicked, and is kept when SIGTERM ends the
# program in the middle of it.
set -u
. "$(dirname "$0")/lib.sh"
skip_without ibus-daemon ibus dbus-daemon setpriv
[ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || { echo "skipped: ibus-mozc is not installed"; exit 0; }
start_display

# Mozc refuses to run as root: then the input method, its bus and the
# program run as a plain user (IBus serves only its own user).
home="$WORK/home"
mkdir -p "$home/run" "$home/data"
chmod 700 "$home/run"
as_user=()
if [ "$(id -u)" = 0 ]; then
  user=velnote-ime
  id "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  chmod 755 "$WORK"
  cp "$VNOTE" "$WORK/Vnote" # the build folder may be closed to others
  VNOTE="$WORK/Vnote"
  chown -R "$user:" "$home"
  as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
fi
# Every process of this test carries IME_TEST_MARK: the clean-up ends them
# all, Mozc's server too (the engine starts it on its own).
mark="$WORK"
run_user=("${as_user[@]}" env HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config"
  XDG_CACHE_HOME="$home/cache" GSETTINGS_BACKEND=memory IME_TEST_MARK="$mark")
end_marked() {
  local p
  for p in $(grep -lzxF "IME_TEST_MARK=$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    kill -9 "$p" 2>/dev/null
  done
  cleanup
  wait 2>/dev/null
}
trap end_marked EXIT

# A private session bus with no service directories: nothing installed is
# started on it. The script comes on standard input: the user may not be
# able to read the source folder.
"${run_user[@]}" sh -s "$home/run" <"$(dirname "$0")/../support/private-bus.sh" \
  >"$home/bus.txt" 2>/dev/null &
disown
wait_for 5 test -s "$home/bus.txt"
export DBUS_SESSION_BUS_ADDRESS="$(head -1 "$home/bus.txt")"
"${run_user[@]}" ibus-daemon --single --panel=disable --emoji-extension=disable --cache=none \
  >/dev/null 2>&1 &
disown
ibus_up() { IBUS_ADDRESS="$("${run_user[@]}" ibus address)" && [ "$IBUS_ADDRESS" != "(null)" ]; }
check "ibus-daemon starts" wait_for 10 ibus_up
export IBUS_ADDRESS QT_IM_MODULE=ibus

data="$home/data"
printf '[PauseKey]\r\nKind=1\r\nSS=1\r\n' >"$data/Vnote.ini"
kaisha=$(printf '\x82\xa9\x82\xa2\x82\xb5\x82\xe1') # かいしゃ in Shift-JIS
page_is() { [ "$(cat "$data/Vnote.vnm")" = "$1" ]; }
diary_empty() { [ -z "$(find "$data/Diary" -type f -size +0 2>/dev/null)" ]; }

# compose: starts the program on an empty page, switches Mozc to kana and
# types "kaisha", left uncommitted.
compose() {
  rm -rf "$data/Vnote.vnm" "$data/Diary"
  "${run_user[@]}" VELNOTE_DATA_DIR="$data" "$VNOTE" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  wait_for 10 window_shown
  win=$(visible_windows | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null
  sleep 0.5
  "${run_user[@]}" ibus engine mozc-jp
  sleep 0.5
  xdotool key Hiragana_Katakana
  sleep 0.3
  xdotool type --delay 80 kaisha
  sleep 1
}

compose
[ -n "${IME_SHOT:-}" ] && import -window root "$IME_SHOT" # a look at the word being composed
xdotool key Pause
check "Pause hides the window" wait_for 5 window_hidden
xdotool key Pause
check "Pause shows it again" wait_for 5 window_shown
stop_app TERM
check "a word composed when the window hid is in the page once" page_is "$kaisha"

compose
xdotool mousemove --window "$win" 660 440 click 1 # into the diary pane
sleep 1
stop_app TERM
check "a click elsewhere leaves the word in the page once" page_is "$kaisha"
check "and puts nothing into the diary" diary_empty

compose
stop_app TERM
check "SIGTERM while composing ends with 0" test "$APP_RC" = 0
check "a word composed at SIGTERM is saved" page_is "$kaisha"
finish
