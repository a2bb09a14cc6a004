#!/usr/bin/env bash
# A room on quadrill-relay: the host opens it and plays green and blue,
# two players enter it by its code and a spectator watches by it; all end
# the match with the same scores and hash, which the host's replay
# verifies to. A wrong code is told plainly.
source "$(dirname "$0")/relay.bash"
roomRelayOptions=()

startRelayRoom --script "$scripts/host.script"
enterRoom yellow --join --script "$scripts/yellow.script"
enterRoom red --join --script "$scripts/red.script"
enterRoom spectator --watch --frames 1000000
# A code nobody opened.
wrong=ABCDEF
[ "$wrong" = "$code" ] && wrong=ABCDEG
start wrong --join "$wrong@127.0.0.1:$relayPort" --frames 1000000
# A relay that does not answer: a port nobody listens on.
start unanswered --join "$code@127.0.0.1:$((relayPort + 1))" --frames 1000000
for name in host yellow red spectator; do finish "$name"; done
finish wrong
finish unanswered
grep -q "no room with that code" "$work/wrong.err" || fail "a wrong code was not told: $(cat "$work/wrong.err")"
grep -q "Could not reach the relay at 127.0.0.1" "$work/unanswered.err" ||
  fail "a relay that does not answer was not told: $(cat "$work/unanswered.err")"
checkAlike yellow red spectator
stopRelay
for name in host yellow red spectator; do figures "$name"; done
echo "PASS"
