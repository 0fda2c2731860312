#!/bin/sh
# A private D-Bus session bus for one test, listening in the given folder:
#   private-bus.sh FOLDER
# prints the bus address on its first line and runs until it is ended.
# The bus has no service folders, so no name is started on demand: a program
# installed on the machine (the desktop portal, a notification daemon) never
# takes a name that the test's own fake is to own.
set -eu
dir=${1:?folder for the bus}
cat >"$dir/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$dir</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
exec dbus-daemon --config-file="$dir/bus.conf" --nofork --print-address=1 --nopidfile
