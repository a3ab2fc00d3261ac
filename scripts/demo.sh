#!/usr/bin/env bash
# The demo: starts the stand-in servers with demo data and shows what the project does so far.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin="$build/bin"
data=$(mktemp -d /tmp/velmora-demo.XXXXXX)
server_pid=""
cleanup() { [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null; rm -rf "$data"; }
trap cleanup EXIT

echo "== Velmora demo"
echo "-- the room line codecs (velmora-wire)"
line=$("$bin/velmora-wire" request --key Qm7vTz2K 7 12 17 "msg=$("$bin/velmora-wire" urlencode '你好，斗地主')")
echo "request line on the wire: $line"
echo "read back:                $("$bin/velmora-wire" unscramble Qm7vTz2K "$line")"

if [[ -x "$bin/lordtool" ]]; then
  echo "-- a Landlord deal (lordtool deal --seed 7)"
  "$bin/lordtool" deal --seed 7
  echo "classify 33344456: $("$bin/lordtool" classify 33344456 2>&1)"
fi

if [[ -x "$bin/velmora-server" ]]; then
  echo "-- the stand-in servers (velmora-server --demo, data in $data)"
  "$bin/velmora-server" --data "$data" --demo &
  server_pid=$!
  for _ in $(seq 50); do curl -s -o /dev/null http://127.0.0.1:18080/info/getsession.php && break; sleep 0.2; done
  echo "session reply:"
  curl -s http://127.0.0.1:18080/info/getsession.php | head -c 600; echo
fi

if [[ -x "$bin/velmora" ]]; then
  echo "-- starting the hall (log in as alice / velmora)"
  VELMORA_BOOTSTRAP_URL=http://127.0.0.1:18080/info/getsession.php "$bin/velmora"
else
  echo "-- the hall program (velmora) is not built yet: the foundation, rules, COM layer and"
  echo "   stand-in servers are in place; the hall's windows come next (see docs/)."
  if [[ -n "$server_pid" && -t 0 ]]; then
    echo "   The stand-in servers keep running until you press Enter."
    read -r _
  fi
fi
