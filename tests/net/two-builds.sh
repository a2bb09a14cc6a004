#!/usr/bin/env bash
# Two builds of the same code play one online match together: the host and
# the spectator run one, the two joining players the other. scripts/
# test-package runs it with the installed package (built from a tree
# without git data) against the build tree's game (built from a clone).
# Every machine ends the match by itself with the same scores and hash.
#   two-builds.sh GAME OTHER_GAME RELAY SIM SCRIPTS
other=$2
set -- "$1" "$3" "$4" "$5"
source "$(dirname "$0")/online.bash"
[ -x "$other" ] || fail "no game at $other"

startRoom --script "$scripts/host.script"
game=$other joinRoom yellow --script "$scripts/yellow.script"
game=$other joinRoom red --script "$scripts/red.script"
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
echo "PASS"
