#!/usr/bin/env bash
# The demo: the stand-in servers with demo data (web service on 127.0.0.1:18080, room servers
# on 18101-18103) and the hall program pointed at them. Log in as alice, bob, carol or dave with
# the password "velmora". Everything stops when the hall is closed.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin="$(pwd)/$build/bin"
data=$(mktemp -d /tmp/velmora-demo.XXXXXX)
server_pid=""
cleanup() {
  [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null
  rm -rf "$data"
}
trap cleanup EXIT

echo "== Velmora demo"
"$bin/velmora-server" --data "$data" --demo &
server_pid=$!
for _ in $(seq 50); do
  curl -s -o /dev/null http://127.0.0.1:18080/info/getsession.php && break
  sleep 0.2
done
if ! kill -0 "$server_pid" 2>/dev/null; then
  echo "velmora-server did not start (is another demo running on port 18080?)"
  exit 1
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: the hall needs a desktop session. Run 'xvfb-run -a make run' to try it"
  echo "headless, or run 'make run' from a desktop terminal."
  exit 1
fi
echo "-- starting the hall: log in as alice / velmora (or bob, carol, dave)"
VELMORA_BOOTSTRAP_URL=http://127.0.0.1:18080/info/getsession.php "$bin/velmora"
