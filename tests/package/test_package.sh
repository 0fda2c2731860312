#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack, installed with
# apt-get, the installed command run on a prepared data folder, then removed.
#   test_package.sh <build folder>
# Installing needs root; elsewhere the test is skipped (exit 77).
set -euo pipefail
build="$(cd "$1" && pwd)"
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
  echo "SKIP: installing a package needs root and apt-get"
  exit 77
fi
# One package test at a time on this machine (other builds of the project
# may run theirs), and apt waits for the package database instead of failing.
exec 9>/tmp/velnote-package-test.lock
flock -w 280 9 || { echo "FAIL - another package test holds the machine"; exit 1; }
APT=(apt-get -y -q -o DPkg::Lock::Timeout=120)
work="$(mktemp -d)"
chmod 755 "$work"
cleanup() {
  if dpkg-query -W -f='${Status}' velnote 2>/dev/null | grep -q "install ok installed"; then
    DEBIAN_FRONTEND=noninteractive "${APT[@]}" remove velnote >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL - $*"; exit 1; }

echo "== building the package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
cd "$work/pkg"
ls velnote_*.deb >/dev/null || fail "no velnote_*.deb"
dpkg-deb -f velnote_*.deb Depends | grep -q "libical3" || fail "library dependencies not computed"

echo "== installing it"
DEBIAN_FRONTEND=noninteractive "${APT[@]}" install --no-install-recommends ./velnote_*.deb \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get install"; }
[ "$(command -v velnote)" = /usr/bin/velnote ] || fail "velnote is not on the PATH"
desktop-file-validate /usr/share/applications/velnote.desktop || fail "desktop entry"
grep -qx "StartupWMClass=Velnote" /usr/share/applications/velnote.desktop || fail "StartupWMClass"
grep -qx "Exec=velnote" /usr/share/applications/velnote.desktop || fail "Exec"
# A non-reverse-DNS id is the one remark allowed.
appstreamcli validate --no-net /usr/share/metainfo/velnote.metainfo.xml >"$work/as.log" 2>&1 || true
if grep -E "^[EW]:" "$work/as.log" | grep -v "cid-desktopapp-is-not-rdns" | grep -q .; then
  cat "$work/as.log"; fail "AppStream metadata"
fi
[ -s /usr/share/icons/hicolor/scalable/apps/velnote.svg ] || fail "scalable icon"
# The help that "?" opens: the program finds it from /usr/bin.
grep -q '<html lang="ja">' /usr/share/velnote/help/index.html || fail "help"
for size in 16 22 24 32 48 64 128 256; do
  [ "$(identify -format '%wx%h' "/usr/share/icons/hicolor/${size}x${size}/apps/velnote.png")" = "${size}x${size}" ] ||
    fail "icon ${size}x${size}"
done

echo "== running the installed command on a prepared data folder"
home="$work/home"
mkdir -p "$home/.local/share/velnote"
printf '200412141530,10,0,1,1,20050314,\x92\xe8\x97\xe1\x89\xef\r\n200501010000,00,0,1,-8,20301231,\x8c\xb3\x93\xfa\r\n' \
  >"$home/.local/share/velnote/Schedule.dat"
out="$(env -u VELNOTE_DATA_DIR -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" TZ=Asia/Tokyo \
  velnote --export-ics "$work/out.ics")" || fail "velnote --export-ics"
echo "$out"
[ "$(grep -c '^BEGIN:VEVENT' "$work/out.ics")" = 2 ] || fail "two events expected"
grep -q "^SUMMARY:定例会" "$work/out.ics" || fail "summary"
grep -q "^DTSTART;TZID=Asia/Tokyo:20041214T153000" "$work/out.ics" || fail "start"
# The modules loaded at first use are found from /usr/bin: the iCalendar
# module wrote the file above, and the sync module answers that no account is
# set up (not that it cannot be loaded). The program itself links none of
# their libraries.
for module in velnote-sound velnote-sync velnote-print velnote-ical; do
  found=no
  for f in /usr/lib/velnote/$module.so /usr/lib/*/velnote/$module.so; do [ -f "$f" ] && found=yes; done
  [ "$found" = yes ] || fail "$module is not installed"
done
if ldd /usr/bin/velnote | grep -E "libQt6PrintSupport|libical|libQt6Multimedia|libQt6Network"; then
  fail "the program links a library of a module"
fi
env -u VELNOTE_DATA_DIR -u XDG_DATA_HOME -u DISPLAY HOME="$home" velnote --sync 2>"$work/sync.err" &&
  fail "--sync without an account succeeded"
grep -q "同期の設定がありません" "$work/sync.err" || { cat "$work/sync.err"; fail "the sync module"; }

echo "== removing it"
DEBIAN_FRONTEND=noninteractive "${APT[@]}" remove velnote >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get remove"; }
[ ! -e /usr/bin/velnote ] || fail "velnote still installed"
[ -f "$home/.local/share/velnote/Schedule.dat" ] || fail "the user's data went with the package"
echo "PASS - package built, installed, run and removed"
