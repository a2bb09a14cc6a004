#!/usr/bin/env bash
# A hostile machine in the room (see HostileClient.cpp): silent connections
# as the others join, a watcher that reports made-up hashes and asks for a
# pause, a player that pauses, leaves, and goes on talking. The honest
# machines get in, play the match to its end without being held or stopped,
# and end it with the same scores and hash, as the host's replay verifies.
source "$(dirname "$0")/online.bash"

startRoom --script "$scripts/host-green.script"
"$hostile" --to "$hostPort" --colour 3 > "$work/hostile.out" 2> "$work/hostile.err" &
pids[hostile]=$!
sleep 0.2
joinRoom yellow --script "$scripts/yellow.script"
joinRoom red --script "$scripts/red.script"
for name in host yellow red; do finish "$name"; done
wait "${pids[hostile]}" || true
unset "pids[hostile]"
cat "$work/hostile.out"

expected=$(verdict host)
echo "host: $expected"
case "$expected" in
  "match over "*) ;;
  *) fail "the host's match did not end by itself: $expected" ;;
esac
[ "$(verdict yellow)" = "$expected" ] || fail "yellow differs: $(verdict yellow)"
[ "$(verdict red)" = "$expected" ] || fail "red differs: $(verdict red)"
checkHostReplay
grep -q '^silent connections cut: 15 of 15' "$work/hostile.out" || fail "silent connections were kept"
grep -q '^over-long message ended its connection: yes' "$work/hostile.out" || fail "an over-long message was let by"
echo "PASS"
