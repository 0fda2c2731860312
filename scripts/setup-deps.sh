#!/usr/bin/env bash
# Installs what Velnote needs to build, run and test on Debian 12.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl1-mesa-dev
  libxcb1-dev libxcb-xinput-dev libxcb-keysyms1-dev
  libical-dev qt6-svg-dev gstreamer1.0-plugins-base
  fonts-ipafont fonts-noto-cjk qt6-translations-l10n
  xvfb xdotool x11-utils imagemagick poppler-utils trayer python3 openbox
  clang-14 libclang-rt-14-dev llvm-14
  python3-icalendar python3-recurring-ical-events python3-vobject desktop-file-utils appstream dbus-daemon
  ibus ibus-mozc
  radicale qtkeychain-qt6-dev gnome-keyring libsecret-tools syncthing openssl
  faketime libfontconfig-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
