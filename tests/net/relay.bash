# Shared by the relay's online tests: quadrill-relay on 127.0.0.1, a host
# that opens a room on it, and machines that enter the room by its code.
#   source relay.bash GAME LOSSY-RELAY SIM SCRIPTS HOSTILE QUADRILL-RELAY
source "$(dirname "${BASH_SOURCE[0]}")/online.bash"
roomRelay=$6

# startRelayRoom HOST-ARGS...: the relay, and the host's room on it; sets
# relayPort and code.
startRelayRoom() {
  for attempt in 1 2 3 4 5; do
    relayPort=$((20000 + RANDOM % 40000))
    "$roomRelay" --port "$relayPort" "${roomRelayOptions[@]}" 2> "$work/relay.err" &
    relayPid=$!
    sleep 0.3
    kill -0 "$relayPid" 2>/dev/null && break
    relayPid=
  done
  [ -n "$relayPid" ] || fail "no free port for the relay"
  start host --host --relay "127.0.0.1:$relayPort" "$@"
  for _ in $(seq 1 100); do
    code=$(sed -n 's/^room \([A-Z]\{6\}\)$/\1/p' "$work/host.out" | head -n 1)
    [ -n "$code" ] && break
    sleep 0.1
  done
  [ -n "$code" ] || fail "the host printed no room code"
  echo "room $code on port $relayPort"
}

enterRoom() {
  local name=$1 how=$2
  shift 2
  start "$name" "$how" "$code@127.0.0.1:$relayPort" "$@"
}

# The relay ends cleanly on SIGTERM, and said what happened.
stopRelay() {
  kill -TERM "$relayPid"
  wait "$relayPid" || fail "the relay ended with $? on SIGTERM"
  relayPid=
  grep -q "room $code opened" "$work/relay.err" || fail "the relay did not log the room"
}

# Every machine ended the match as the host did, which its replay verifies.
checkAlike() {
  expected=$(verdict host)
  echo "host: $expected"
  case "$expected" in
    "match over "*) ;;
    *) fail "the host's match did not end by itself: $expected" ;;
  esac
  for name in "$@"; do
    [ "$(verdict "$name")" = "$expected" ] || fail "$name differs: $(verdict "$name")"
  done
  checkHostReplay
}
