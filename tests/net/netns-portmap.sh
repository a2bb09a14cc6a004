#!/usr/bin/env bash
# The host opens its own port. In home A the host asks the router
# (miniupnpd) to forward its UDP port and prints the address the internet
# sees; the lone player on the internet joins that address and both end
# the match alike. The forward is gone once the host has ended, by
# itself or by SIGTERM. In home B, whose router speaks no UPnP or NAT-PMP,
# the host says within about two seconds that it could not map the port,
# and still hosts its own network.
#   netns-portmap.sh GAME STUN-RESPONDER
set -euo pipefail
game=$1
stunTool=$2
source "$(dirname "$0")/netns.bash"

netnsUp 170
startHomeARouter "$stunTool"

# Two machines: the host plays green and blue, the other yellow; red has
# nobody. The host starts once three colours are claimed.
cat > "$netWork/host.script" <<'SCRIPT'
seed 11
person green keyboard
person blue keyboard
wait colours 3
repeat 400
  hold green-up blue-right
  play 25
  hold green-down blue-left
  play 40
end
SCRIPT
cat > "$netWork/guest.script" <<'SCRIPT'
person yellow keyboard
repeat 400
  hold yellow-left
  play 31
  hold none
  play 5
  hold yellow-right
  play 33
end
SCRIPT
frames=(--frames 2400)

forwards() {
  routerRules routerA 2>/dev/null | grep -c "dport $1" || true
}

# (a) home A: mapped through miniupnpd, joined from the internet.
startGame hostA host --host 28250 --script "$netWork/host.script" "${frames[@]}"
external=$(waitFor host '^external ' 10 | cut -d' ' -f2) || netFail "the host in home A printed no external address"
echo "host in home A: external $external"
[ "$external" = "${netAddress[routerA]}:28250" ] || netFail "the external address is not the router's: $external"
[ "$(forwards 28250)" -ge 1 ] || netFail "miniupnpd forwards nothing to the host: $(routerRules routerA)"
startGame lone lone --join "$external" --script "$netWork/guest.script" "${frames[@]}"
finishGame host
finishGame lone
expected=$(netVerdict host)
echo "host: $expected"
echo "lone: $(netVerdict lone)"
case "$expected" in
  "match "*"scores "*"hash "*) ;;
  *) netFail "the host's match did not end: $expected" ;;
esac
[ "$(netVerdict lone)" = "$expected" ] || netFail "the lone player's match ended otherwise"
[ "$(forwards 28250)" -eq 0 ] || netFail "the forward outlived the host: $(routerRules routerA)"
echo "the forward is gone after the match"

# A host ended by SIGTERM takes its forward back too.
startGame hostA idle --host 28260
waitFor idle '^external ' 10 > /dev/null || netFail "the second host printed no external address"
[ "$(forwards 28260)" -ge 1 ] || netFail "no forward for the second host"
# The game itself, not the shell that started it in its namespace.
for pid in $(ip netns pids "$(nsName hostA)"); do
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = quadrill ] && kill -TERM "$pid"
done
finishGame idle
[ "$(forwards 28260)" -eq 0 ] || netFail "the forward outlived a host ended by SIGTERM: $(routerRules routerA)"
echo "the forward is gone after SIGTERM"

# Home B: no router answers; the host says so and still hosts its network.
started=$(date +%s%N)
startGame playerB1 hostB --host 28270 --script "$netWork/host.script" --frames 600
told=
for tries in $(seq 60); do
  if grep -q '^port mapping failed: ' "$netWork/hostB.err"; then
    told=$(( ($(date +%s%N) - started) / 1000000 ))
    break
  fi
  sleep 0.1
done
[ -n "$told" ] || netFail "the host in home B never said it could not map its port"
echo "host in home B after $told ms: $(grep '^port mapping failed: ' "$netWork/hostB.err")"
[ "$told" -le 3500 ] || netFail "the host in home B took $told ms to say so"
startGame playerB2 guestB --join "${netAddress[playerB1]}:28270" --script "$netWork/guest.script" --frames 600
finishGame hostB
finishGame guestB
[ "$(netVerdict guestB)" = "$(netVerdict hostB)" ] || netFail "home B's match ended otherwise on its two machines"
echo "home B: $(netVerdict hostB)"
echo "PASS"
