# Shared by the online tests: machines of one room, each the real game
# with SDL's dummy drivers and a folder of its own, the players joining
# through the lossy relay (100 ms round trip, 20 ms jitter, 5 % loss).
#   source online.bash GAME RELAY SIM SCRIPTS
set -euo pipefail

game=$1
relay=$2
sim=$3
scripts=$4
hostile=${5:-}
work=$(mktemp -d)
declare -A pids=()
relayPid=
# The relay's network, when a test wants another than its own.
relayOptions=(--seed 7)

cleanup() {
  for pid in "${pids[@]}" $relayPid; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for log in "$work"/*.out "$work"/*.err; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
  done
  exit 1
}

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# start NAME ARGS...: one machine, in the background.
start() {
  local name=$1
  shift
  mkdir -p "$work/$name"
  QUADRILL_DATA_DIR="$work/$name" QUADRILL_CONFIG_DIR="$work/$name" \
    timeout 150 "$game" "$@" > "$work/$name.out" 2> "$work/$name.err" &
  pids[$name]=$!
}

# The host and the relay in front of it, on ports nobody else uses now.
startRoom() {
  local hostArgs=("$@")
  for attempt in 1 2 3 4 5; do
    hostPort=$((20000 + (RANDOM % 20000) * 2))
    relayPort=$((hostPort + 1))
    start host --host "$hostPort" --no-port-mapping "${hostArgs[@]}"
    sleep 0.5
    if kill -0 "${pids[host]}" 2>/dev/null; then
      "$relay" --listen "$relayPort" --to "127.0.0.1:$hostPort" "${relayOptions[@]}" 2> "$work/relay.err" &
      relayPid=$!
      sleep 0.2
      kill -0 "$relayPid" 2>/dev/null && return 0
      kill "${pids[host]}" 2>/dev/null || true
    fi
    wait "${pids[host]}" 2>/dev/null || true
  done
  fail "no free port for the host and the relay"
}

joinRoom() {
  local name=$1
  shift
  start "$name" --join "127.0.0.1:$relayPort" "$@"
}

watchRoom() {
  local name=$1
  shift
  start "$name" --watch "127.0.0.1:$relayPort" "$@"
}

finish() {
  local name=$1
  wait "${pids[$name]}" || fail "$name ended with $?"
  unset "pids[$name]"
}

# The closing words a machine printed: how the match ended, its scores and
# its final state hash, on one line.
verdict() {
  grep -E '^(match|scores|hash) ' "$work/$1.out" | sed -E 's/ after [0-9]+ frames//' | tr '\n' ' '
}

figures() {
  echo "--- $1"
  grep -vE '^(scores|hash) ' "$work/$1.out" || true
}

source "$(dirname "${BASH_SOURCE[0]}")/host-replay.bash"
