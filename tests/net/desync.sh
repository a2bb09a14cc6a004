#!/usr/bin/env bash
# Yellow's match and the spectator's are nudged off the others' after frame
# 200 (a test switch). The host and red agree: each odd machine alone goes
# out of step at the first state hash after it, keeps its replay and a note
# of the hashes, and leaves; yellow's colour goes to the computer, and the
# host and red finish the match together, as the host's replay verifies.
source "$(dirname "$0")/online.bash"

nudgeAt=200
startRoom --script "$scripts/host.script"
QUADRILL_NET_NUDGE=$nudgeAt joinRoom yellow --script "$scripts/yellow.script"
joinRoom red --script "$scripts/red.script"
QUADRILL_NET_NUDGE=$nudgeAt watchRoom spectator --frames 1000000
for name in host yellow red spectator; do finish "$name"; done

for name in yellow spectator; do
  line=$(grep -m1 '^out of step after frame' "$work/$name.out") || fail "$name saw nothing wrong"
  frame=${line##* }
  echo "$name: $line"
  [ "$frame" -ge "$nudgeAt" ] && [ "$frame" -le $((nudgeAt + 30)) ] || fail "$name found it only at frame $frame"
  ls "$work/$name"/replays/*.out-of-step.txt > /dev/null 2>&1 || fail "$name kept no note of the hashes"
  ls "$work/$name"/replays/*.qrpl > /dev/null 2>&1 || fail "$name kept no replay"
done

expected=$(verdict host)
echo "host: $expected"
case "$expected" in
  "match over "*) ;;
  *) fail "the host's match did not end by itself: $expected" ;;
esac
[ "$(verdict red)" = "$expected" ] || fail "red differs: $(verdict red)"
checkHostReplay
echo "PASS"
