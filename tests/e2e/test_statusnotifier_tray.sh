#!/usr/bin/env bash
# The tray icon on a desktop whose panel is a StatusNotifier host (KDE, GNOME
# with its extension, most Wayland panels): the icon registers with the
# watcher on the session bus, and the host's click shows the window.
set -u
. "$(dirname "$0")/lib.sh"
skip_without dbus-daemon dbus-send
start_display

bus_log="$WORK/bus.txt"
sh "$(dirname "$0")/../support/private-bus.sh" "$WORK" >"$bus_log" 2>/dev/null &
BUS_PID=$!
trap 'kill $BUS_PID 2>/dev/null; cleanup' EXIT
wait_for 5 test -s "$bus_log"
export DBUS_SESSION_BUS_ADDRESS="$(head -1 "$bus_log")"

watcher_log="$WORK/watcher.txt"
"$VN_SNI_WATCHER" >"$watcher_log" 2>&1 &
WATCHER_PID=$!
trap 'kill $WATCHER_PID $BUS_PID 2>/dev/null; cleanup' EXIT
check "the fake StatusNotifier watcher serves" wait_for 5 grep -q '^ready' "$watcher_log"

data="$WORK/data"
mkdir -p "$data"
# Every Pause press toggles (hiding the window before the host's click).
printf '[PauseKey]\r\nKind=1\r\nSS=1\r\n' >"$data/Vnote.ini"
start_app "$data"
check "the main window appears" wait_for 10 window_shown
check "the tray icon registers with the watcher" wait_for 10 grep -q '^item ' "$watcher_log"
item="$(sed -n 's/^item //p' "$watcher_log" | head -1)"
echo "item: $item"

# The caption soon carries the uptime ("Velnote   →→ PC起動から ..."), so the
# main window is found by the start of its caption.
main_windows() { xdotool search --onlyvisible --name '^Velnote' 2>/dev/null || true; }
main_shown() { [ -n "$(main_windows)" ]; }
main_hidden() { [ -z "$(main_windows)" ]; }
check "the main window is up" wait_for 5 main_shown
xdotool key Pause
check "the Pause key hides the window" wait_for 5 main_hidden
dbus-send --session --print-reply --type=method_call --dest="$item" /StatusNotifierItem \
  org.kde.StatusNotifierItem.Activate int32:10 int32:10 >/dev/null
check "the host's click on the icon shows the window" wait_for 5 main_shown
stop_app TERM
check "the program ends with 0" test "$APP_RC" = 0
finish
