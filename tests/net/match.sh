#!/usr/bin/env bash
# A whole online match through a bad network: the host (green and blue),
# two players (yellow, red) and a spectator all end it with the same
# scores and the same state hash, which the host's replay verifies to.
source "$(dirname "$0")/online.bash"

startRoom --script "$scripts/host.script"
joinRoom yellow --script "$scripts/yellow.script"
joinRoom red --script "$scripts/red.script"
watchRoom spectator --frames 1000000
for name in host yellow red spectator; do finish "$name"; done

expected=$(verdict host)
echo "host: $expected"
case "$expected" in
  "match over "*) ;;
  *) fail "the host's match did not end by itself: $expected" ;;
esac
for name in yellow red spectator; do
  [ "$(verdict "$name")" = "$expected" ] || fail "$name differs: $(verdict "$name")"
done
checkHostReplay
for name in host yellow red spectator; do figures "$name"; done
cat "$work/relay.err" 2>/dev/null || true
echo "PASS"
