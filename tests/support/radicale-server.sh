#!/bin/sh
# A Radicale CalDAV server for a test or a look by hand, kept in the given
# folder (its storage, users file and log):
#   radicale-server.sh FOLDER [USER [PASSWORD]]
# serves on 127.0.0.1 at a free port, prints its address
# ("http://127.0.0.1:PORT/") on its first line once it answers, and runs
# until it is ended. C++ tests use RadicaleServer (radicaleserver.h) instead.
set -eu
dir=${1:?folder for the server}
user=${2:-alice}
password=${3:-secret}
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf '%s:%s\n' "$user" "$password" >"$dir/users"
cat >"$dir/config" <<CONF
[server]
hosts = 127.0.0.1:$port
[auth]
type = htpasswd
htpasswd_filename = $dir/users
htpasswd_encryption = plain
delay = 0
[rights]
type = owner_only
[storage]
filesystem_folder = $dir/storage
[web]
type = none
[logging]
level = warning
CONF
radicale --config "$dir/config" >>"$dir/radicale.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; exit 0' TERM INT HUP
for _ in $(seq 1 100); do
  if python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null; then
    printf 'http://127.0.0.1:%s/\n' "$port"
    wait $pid
    exit $?
  fi
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
echo "radicale did not start; see $dir/radicale.log" >&2
kill $pid 2>/dev/null || true
exit 1
