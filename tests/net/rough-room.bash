#!/usr/bin/env bash
# One room of four players and two watchers through a rough network: 200 ms
# round trip, 40 ms of jitter, 10 % loss and 3 % of the datagrams twice.
# Every machine plays the first FRAMES frames and ends with the same scores
# and hash.
#   rough-room.bash GAME RELAY SIM SCRIPTS SEED FRAMES
source "$(dirname "$0")/online.bash"
seed=$5
frames=$6
relayOptions=(--delay 100 --jitter 40 --loss 10 --duplicate 3 --seed "$seed")

startRoom --script "$scripts/rough-host.script" --frames "$frames"
for colour in yellow red blue; do joinRoom "$colour" --script "$scripts/$colour.script" --frames "$frames"; done
for name in watcher1 watcher2; do watchRoom "$name" --frames "$frames"; done
for name in host yellow red blue watcher1 watcher2; do finish "$name"; done

expected=$(verdict host)
case "$expected" in
  "match stopped "*) ;;
  *) fail "room $seed: the host's match did not reach frame $frames: $expected" ;;
esac
for name in yellow red blue watcher1 watcher2; do
  [ "$(verdict "$name")" = "$expected" ] || fail "room $seed: $name differs: $(verdict "$name")"
  if grep -q 'connection to the host was lost\|room is gone' "$work/$name.err" "$work/$name.out"; then
    fail "room $seed: $name lost the host"
  fi
done
echo "room $seed: $expected"
