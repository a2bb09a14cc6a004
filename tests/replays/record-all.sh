#!/usr/bin/env bash
# Records every golden replay again from its script:
#   tests/replays/record-all.sh build/tools/quadrill-sim
# Do it in the commit that changes a rule on purpose, and say why there.
set -euo pipefail
sim=$(readlink -f "$1")
cd "$(dirname "$0")"
for script in *.script; do
  "$sim" --record "${script%.script}.qrpl" --script "$script"
done
