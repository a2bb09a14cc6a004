#!/usr/bin/env bash
# The room of relay.sh while a hostile client (see RelayHostile.cpp) sends
# the relay garbage, floods it, guesses codes and churns connections, all
# from the honest machines' own address: the match still ends alike on
# every machine, the flooders are let go and the guesser is refused.
source "$(dirname "$0")/relay.bash"
relayHostile=$7
roomRelayOptions=()

startRelayRoom --script "$scripts/host.script"
enterRoom yellow --join --script "$scripts/yellow.script"
enterRoom red --join --script "$scripts/red.script"
enterRoom spectator --watch --frames 1000000
# Once everybody is in: the guesser's address is theirs too.
sleep 3
"$relayHostile" --to "$relayPort" --code "$code" --seconds 25 > "$work/relay-hostile.out" 2>&1 &
pids[relayHostile]=$!
for name in host yellow red spectator; do finish "$name"; done
finish relayHostile
cat "$work/relay-hostile.out"
checkAlike yellow red spectator
grep -q '^intruder cut: yes' "$work/relay-hostile.out" || fail "the flooder in the room was not let go"
grep -q '^own room.s flooder cut: yes' "$work/relay-hostile.out" || fail "the flooder of its own room was not let go"
grep -qE '^codes guessed: [0-9]+, refused for guessing: [1-9]' "$work/relay-hostile.out" ||
  fail "the guesser was never refused"
kill -0 "$relayPid" || fail "the relay did not survive"
stopRelay
echo "PASS"
