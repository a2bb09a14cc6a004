#!/usr/bin/env bash
# A player's machine dies in the middle of the match: after three silent
# seconds its colour goes to the computer, and the others finish the match
# the same way, as the host's replay verifies.
source "$(dirname "$0")/online.bash"

startRoom --script "$scripts/host.script"
joinRoom yellow --script "$scripts/yellow.script"
joinRoom red --script "$scripts/red.script"
watchRoom spectator --frames 1000000
sleep 12
# The game itself, not the timeout that watches over it.
pkill -KILL -P "${pids[red]}"
wait "${pids[red]}" 2>/dev/null || true
unset "pids[red]"
for name in host yellow spectator; do finish "$name"; done

expected=$(verdict host)
echo "host: $expected"
case "$expected" in
  "match over "*) ;;
  *) fail "the host's match did not end by itself: $expected" ;;
esac
for name in yellow spectator; do
  [ "$(verdict "$name")" = "$expected" ] || fail "$name differs: $(verdict "$name")"
done
checkHostReplay
echo "PASS"
