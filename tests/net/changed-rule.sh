#!/usr/bin/env bash
# A game whose rules differ (a test switch makes green's paddle a little
# faster in the first serve) is turned away when it joins, and both sides
# say why: the other machine plays matches differently, and which versions.
source "$(dirname "$0")/online.bash"

startRoom --script "$scripts/host.script"
QUADRILL_TEST_RULE_NUDGE=1 joinRoom yellow --script "$scripts/yellow.script"
finish yellow
told=$(cat "$work/yellow.err")
echo "yellow: $told"
case "$told" in
  *"The host's game plays matches differently from this one: the host has version "*" (fingerprint "*"), this is version "*" (fingerprint "*")."*) ;;
  *) fail "the changed game was not told that the host plays matches differently" ;;
esac
grep -q '^match ' "$work/yellow.out" && fail "the changed game played a match"
for attempt in $(seq 50); do
  grep -q 'plays matches differently was turned away' "$work/host.err" && break
  sleep 0.1
done
grep 'turned away' "$work/host.err" || fail "the host did not say whom it turned away"
echo "PASS"
