#!/usr/bin/env bash
# One machine's match is nudged off the others' after frame 200 (a test
# switch): every machine ends the match, out of step, at the first state
# hash after it, and keeps its replay and a note of the hashes.
source "$(dirname "$0")/online.bash"

nudgeAt=200
startRoom --script "$scripts/host.script"
QUADRILL_NET_NUDGE=$nudgeAt joinRoom yellow --script "$scripts/yellow.script"
joinRoom red --script "$scripts/red.script"
watchRoom spectator --frames 1000000
for name in host yellow red spectator; do finish "$name"; done

for name in host yellow red spectator; do
  line=$(grep -m1 '^out of step after frame' "$work/$name.out") || fail "$name saw nothing wrong"
  frame=${line##* }
  echo "$name: $line"
  [ "$frame" -ge "$nudgeAt" ] && [ "$frame" -le $((nudgeAt + 30)) ] || fail "$name found it only at frame $frame"
  ls "$work/$name"/replays/*.out-of-step.txt > /dev/null 2>&1 || fail "$name kept no note of the hashes"
  ls "$work/$name"/replays/*.qrpl > /dev/null 2>&1 || fail "$name kept no replay"
done
echo "PASS"
