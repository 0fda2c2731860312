#!/usr/bin/env bash
# Two PCs keep one data folder in step with Syncthing (two instances on
# 127.0.0.1, each with a home and ports of its own): the program runs on one
# side while the other side starts the program too and a script edits files
# there, as a second PC would. The lock file travels with the folder; it
# keeps neither PC out, and the lock stays on the file Syncthing puts in its
# place, so a second login on the first PC is still told. Syncthing's own
# files are left as they are.
set -u
. "$(dirname "$0")/lib.sh"
skip_without syncthing python3
start_display

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
for side in a b; do
  mkdir -p "$WORK/data_$side/.stfolder" "$WORK/st_$side"
  syncthing generate --home="$WORK/st_$side" --no-default-folder --skip-port-probing >/dev/null 2>&1
done
id_a=$(syncthing serve --home="$WORK/st_a" --device-id 2>/dev/null | tail -1)
id_b=$(syncthing serve --home="$WORK/st_b" --device-id 2>/dev/null | tail -1)
port_a=$(free_port); port_b=$(free_port); gui_a=$(free_port); gui_b=$(free_port)

# configure SIDE ME PORT GUI OTHER OTHERPORT: one folder "velnote" shared
# with the other side only, no discovery, relays or reports, quick rescans.
configure() {
  python3 - "$WORK/st_$1/config.xml" "$WORK/data_$1" "$2" "$3" "$4" "$5" "$6" <<'PY'
import sys, xml.etree.ElementTree as ET
path, folder, me, port, gui, other, other_port = sys.argv[1:]
tree = ET.parse(path); root = tree.getroot()
opts = root.find("options")
def opt(name, value):
    e = opts.find(name)
    if e is None: e = ET.SubElement(opts, name)
    e.text = value
opt("listenAddress", f"tcp://127.0.0.1:{port}")
for name in ("globalAnnounceEnabled", "localAnnounceEnabled", "relaysEnabled", "natEnabled",
             "startBrowser", "crashReportingEnabled"):
    opt(name, "false")
opt("urAccepted", "-1"); opt("autoUpgradeIntervalH", "0")
root.find("gui").find("address").text = f"127.0.0.1:{gui}"
dev = ET.SubElement(root, "device", id=other, name="other", compression="metadata",
                    introducer="false")
ET.SubElement(dev, "address").text = f"tcp://127.0.0.1:{other_port}"
f = ET.SubElement(root, "folder", id="velnote", label="velnote", path=folder,
                  type="sendreceive", rescanIntervalS="2", fsWatcherEnabled="true",
                  fsWatcherDelayS="1", ignorePerms="false")
ET.SubElement(f, "device", id=me); ET.SubElement(f, "device", id=other)
ET.SubElement(f, "minDiskFree", unit="%").text = "0"
tree.write(path)
PY
}
configure a "$id_a" "$port_a" "$gui_a" "$id_b" "$port_b"
configure b "$id_b" "$port_b" "$gui_b" "$id_a" "$port_a"
ST_PIDS=()
for side in a b; do
  STNODEFAULTFOLDER=1 syncthing serve --home="$WORK/st_$side" --no-browser --no-restart \
    --no-upgrade --logfile="$WORK/st_$side.log" >/dev/null 2>&1 &
  ST_PIDS+=($!)
done
stop_syncthing() { for p in "${ST_PIDS[@]}"; do kill "$p" 2>/dev/null; done; wait "${ST_PIDS[@]}" 2>/dev/null; }
trap 'stop_syncthing; cleanup' EXIT

a="$WORK/data_a"; b="$WORK/data_b"
lock=".~lock.Velnote#"
echo probe >"$b/probe.txt"
check "Syncthing keeps the two folders in step" wait_for 60 test -f "$a/probe.txt"

names_pid() { grep -q "^pid=$2\$" "$1/$lock" 2>/dev/null; }
box_shown() { [ -n "$(xdotool search --onlyvisible --name '^確認$' 2>/dev/null)" ]; }
read_only_shown() { [ -n "$(xdotool search --onlyvisible --name '^Velnote \[' 2>/dev/null)" ]; }
# start_on SIDE RUNTIME: the program on one side's folder (PID).
start_on() {
  mkdir -p -m 700 "$WORK/$2"
  XDG_RUNTIME_DIR="$WORK/$2" VELNOTE_DATA_DIR="$WORK/data_$1" "$VNOTE" >"$WORK/$2.log" 2>&1 &
  PID=$!
}
windows_shown() { [ "$(visible_windows | wc -l)" -eq "$1" ]; }

start_on a pc_a
pid_a=$PID
APP_PID=$pid_a
check "the program runs on the first PC" wait_for 10 windows_shown 1
check "the lock file travels to the second PC" wait_for 60 names_pid "$b" "$pid_a"

# The second PC opens its copy: its lock file came from the first PC, but
# the kernel grants the lock on it, so no box and no read-only window.
start_on b pc_b
pid_b=$PID
check "the program on the second PC opens its folder writable" wait_for 10 windows_shown 2
check "... without a box" test -z "$(box_shown && echo box)$(read_only_shown && echo ro)"
check "Syncthing puts the second PC's lock file in the first PC's place" \
  wait_for 60 names_pid "$a" "$pid_b"
# The first PC's lock moved to that file: another login there is told.
# (Syncthing may put a file in place more than once while the two versions
# cross; the lock follows each within moments, and a start in between would
# find the first PC's program giving way, read-only. The test waits.)
lock_rests() {
  local was
  was=$(stat -c '%i %Y %s' "$a/$lock")
  sleep 2
  [ "$(stat -c '%i %Y %s' "$a/$lock")" = "$was" ]
}
wait_for 30 lock_rests
start_on a login_a2
check "another login on the first PC is still told the folder is open" wait_for 15 box_shown
xdotool search --onlyvisible --name '^確認$' | head -1 | xargs -r xdotool windowfocus --sync 2>/dev/null
xdotool key Escape
check "... and quits" wait_for 10 eval '! kill -0 '"$PID"' 2>/dev/null'
kill -TERM "$pid_b"; wait "$pid_b"
check "the second PC's program ends with 0" test $? -eq 0

# A script edits the second PC's copy as an editor would: a new file written
# to a temporary file and renamed, and a page rewritten in place; Syncthing
# leaves a conflict copy and its temporary files.
mkdir -p "$b/Diary/202612"
printf 'from the second PC\r\n' >"$b/Diary/202612/.20261211.txt.new"
mv "$b/Diary/202612/.20261211.txt.new" "$b/Diary/202612/20261211.txt"
printf 'page five, second PC\r\n' >"$b/Vnote5.vnm"
printf 'an old copy\r\n' >"$b/Vnote5.sync-conflict-20261210-093000-ABCDEFG.vnm"
check "the edits reach the first PC" wait_for 60 test -f "$a/Vnote5.sync-conflict-20261210-093000-ABCDEFG.vnm"
check "... the renamed diary file too" wait_for 60 test -f "$a/Diary/202612/20261211.txt"
printf 'half a download' >"$a/.syncthing.Vnote6.vnm.tmp"
touch -d '2 hours ago' "$a/.syncthing.Vnote6.vnm.tmp"
check "the first PC's program still runs, writable" test -z "$(read_only_shown && echo ro)"

# The first PC's program ends and starts again (its start cleans up its own
# temporary files): Syncthing's files are left alone.
stop_app TERM
check "the first PC's program ends with 0" test "$APP_RC" = 0
start_on a pc_a
APP_PID=$PID
check "it starts again without a box" wait_for 10 windows_shown 1
check "Syncthing's temporary file is left alone" test -f "$a/.syncthing.Vnote6.vnm.tmp"
check "Syncthing's conflict copy is left alone" \
  test "$(cat "$a/Vnote5.sync-conflict-20261210-093000-ABCDEFG.vnm")" = "$(printf 'an old copy\r\n')"
check "Syncthing's folder marker is left alone" test -d "$a/.stfolder"
stop_app TERM
check "its end frees the lock file" test ! -s "$a/$lock"
finish
