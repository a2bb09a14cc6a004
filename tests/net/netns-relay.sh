#!/usr/bin/env bash
# A room on a relay on the internet, opened from home B (behind a NAT with
# no UPnP, like a carrier's), joined by code from home A and from the
# internet, and watched by one more machine on the internet: all end the
# match with the same scores and hash, and the opener's replay verifies.
# With "hostile", a hostile client on the internet sends the relay garbage,
# floods, guesses codes and churns connections meanwhile.
#   netns-relay.sh GAME SIM QUADRILL-RELAY RELAY-HOSTILE SCRIPTS [hostile]
set -euo pipefail
game=$1
sim=$2
roomRelay=$3
relayHostile=$4
scripts=$5
mode=${6:-}
source "$(dirname "$0")/netns.bash"
source "$(dirname "$0")/host-replay.bash"

netnsUp 170
relayAt=${netAddress[relay]}
startIn relay relay "$roomRelay" --port 28251
sleep 0.3
kill -0 "${netPids[relay]}" || netFail "the relay did not start"

startGame playerB1 host --host --relay "$relayAt" --script "$scripts/host.script"
code=$(waitFor host '^room [A-Z]{6}$' 15 | cut -d' ' -f2) || netFail "the opener printed no room code"
echo "room $code on $relayAt, opened from home B"
startGame hostA yellow --join "$code@$relayAt" --script "$scripts/yellow.script"
startGame lone red --join "$code@$relayAt:28251" --script "$scripts/red.script"
startGame watcher spectator --watch "$code@$relayAt" --frames 1000000
if [ "$mode" = hostile ]; then
  sleep 3
  startIn stun hostile "$relayHostile" --at "$relayAt" --to 28251 --code "$code" --seconds 25
fi
for name in host yellow red spectator; do finishGame "$name"; done

expected=$(netVerdict host)
echo "opener: $expected"
case "$expected" in
  "match over "*) ;;
  *) netFail "the opener's match did not end by itself: $expected" ;;
esac
for name in yellow red spectator; do
  [ "$(netVerdict "$name")" = "$expected" ] || netFail "$name differs: $(netVerdict "$name")"
done
checkHostReplay "$netWork" netFail
# The relay saw the opener and the guests from their routers' addresses.
grep -q "room $code opened by ${netAddress[routerB]} " "$netWork/relay.err" ||
  netFail "the relay did not see the room opened from home B's router"
grep -q "entered room $code from ${netAddress[routerA]} " "$netWork/relay.err" ||
  netFail "the relay did not see home A's machine enter"
if [ "$mode" = hostile ]; then
  wait "${netPids[hostile]}" || true
  unset "netPids[hostile]"
  cat "$netWork/hostile.out"
  grep -q '^intruder cut: yes' "$netWork/hostile.out" || netFail "the flooder in the room was not let go"
  grep -qE '^codes guessed: [0-9]+, refused for guessing: [1-9]' "$netWork/hostile.out" ||
    netFail "the guesser was never refused"
  kill -0 "${netPids[relay]}" || netFail "the relay did not survive"
fi
echo "PASS"
