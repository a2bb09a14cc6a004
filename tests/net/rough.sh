#!/usr/bin/env bash
# Ten rooms of four players and two watchers through a rough network (see
# rough-room.bash), five at a time: every machine of every room plays the
# match to the same end, and nobody is dropped who did not fall silent.
set -uo pipefail
here=$(dirname "$0")
frames=1200
failed=0
for batch in 0 5; do
  pids=()
  for i in 1 2 3 4 5; do
    seed=$((batch + i))
    bash "$here/rough-room.bash" "$1" "$2" "$3" "$4" "$seed" "$frames" > "${TMPDIR:-/tmp}/rough-room.$$.$seed" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done
for seed in $(seq 1 10); do
  cat "${TMPDIR:-/tmp}/rough-room.$$.$seed"
  rm -f "${TMPDIR:-/tmp}/rough-room.$$.$seed"
done
[ "$failed" = 0 ] || { echo "FAIL"; exit 1; }
echo "PASS"
