# Small networks for the online tests, made of network namespaces joined
# only to each other (never to this machine's own interfaces), with
# addresses from the benchmarking range 198.18.0.0/15:
#
#   the internet, 198.18.0.0/24 (one switch):
#     relay 198.18.0.2, lone 198.18.0.3, watcher 198.18.0.4, stun 198.18.0.5
#     routerA 198.18.0.10, routerB 198.18.0.20
#   home A, 198.19.1.0/24, behind routerA (NAT, with miniupnpd: UPnP IGD
#     and NAT-PMP): hostA 198.19.1.2
#   home B, 198.19.2.0/24, behind routerB (NAT, no UPnP, like a carrier's
#     NAT): playerB1 198.19.2.2, playerB2 198.19.2.3
#
#   source netns.bash        (needs root: `ip netns`, nft, miniupnpd)
#   netnsUp SECONDS          makes them all, or exits 77 (skipped) saying why;
#                            everything is torn down at exit, and after
#                            SECONDS at the latest
#   inNs MACHINE CMD...      runs CMD in that machine's namespace
#   startIn MACHINE NAME CMD...  runs CMD there in the background, its
#                            output in $netWork/NAME.out and .err, its pid in
#                            netPids[NAME]
#   routerRules routerA      prints the router's port forwards (nft)
#   startGame MACHINE NAME ARGS...  the game there, headless ($game)
#   waitFor NAME PATTERN SECONDS, finishGame NAME, netVerdict NAME, netFail
# Home A's router forwards ports only after the STUN server (on the
# internet) has told it that it reaches the outside unfiltered, since its
# outside address lies in a reserved range. For the same reason miniupnpc
# calls its IGD "not connected" (UPNP_GetValidIGD returns 2, not 1) although
# UPNP_GetExternalIPAddress and UPNP_AddPortMapping work; NAT-PMP answers
# as a router with a public address would.
# A test that ends in a way its cleanup cannot see (SIGKILL) leaves its
# namespaces behind; the next test that comes here clears them.

netPrefix="qd$$"
netWork=$(mktemp -d)
declare -A netPids=()
netWatchdog=

declare -A netAddress=(
  [relay]=198.18.0.2 [lone]=198.18.0.3 [watcher]=198.18.0.4 [stun]=198.18.0.5
  [routerA]=198.18.0.10 [routerB]=198.18.0.20
  [hostA]=198.19.1.2 [playerB1]=198.19.2.2 [playerB2]=198.19.2.3
)

netSkip() {
  echo "SKIPPED: $*"
  exit 77
}

nsName() {
  echo "$netPrefix-$1"
}

inNs() {
  local machine=$1
  shift
  ip netns exec "$(nsName "$machine")" "$@"
}

startIn() {
  local machine=$1 name=$2
  shift 2
  # `ip netns exec` becomes the command, so the pid is the command's own.
  ip netns exec "$(nsName "$machine")" "$@" > "$netWork/$name.out" 2> "$netWork/$name.err" &
  netPids[$name]=$!
}

netDown() {
  local ns pid
  # The watchdog and its sleep, which would otherwise linger until the limit.
  # Every step may find its process gone already; none may end the test.
  if [ -n "$netWatchdog" ]; then
    pkill -P "$netWatchdog" sleep 2>/dev/null || true
    kill "$netWatchdog" 2>/dev/null || true
  fi
  for pid in "${netPids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for ns in $(ip netns list 2>/dev/null | awk '{print $1}' | grep "^$netPrefix-" || true); do
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null || true; done
    ip netns del "$ns" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$netWork"
}

# Namespaces of earlier runs whose shell is gone.
clearStaleNetworks() {
  local ns owner pid
  for ns in $(ip netns list 2>/dev/null | awk '{print $1}' | grep -E '^qd[0-9]+-' || true); do
    owner=${ns%%-*}
    owner=${owner#qd}
    kill -0 "$owner" 2>/dev/null && continue
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null || true; done
    ip netns del "$ns" 2>/dev/null || true
  done
}

addNs() {
  ip netns add "$(nsName "$1")" || return 1
  inNs "$1" ip link set lo up
}

# A cable from machine A's interface to machine B's, made inside the
# namespaces themselves.
cable() {
  local a=$1 aIf=$2 b=$3 bIf=$4
  ip -n "$(nsName "$a")" link add "$aIf" type veth peer name "$bIf" netns "$(nsName "$b")" &&
    ip -n "$(nsName "$a")" link set "$aIf" up &&
    ip -n "$(nsName "$b")" link set "$bIf" up
}

# A machine on a switch (a bridge in the switch's namespace).
plug() {
  local switch=$1 machine=$2 interface=$3 address=$4 port="p-$2"
  cable "$switch" "${port:0:15}" "$machine" "$interface" &&
    ip -n "$(nsName "$switch")" link set "${port:0:15}" master br0 &&
    ip -n "$(nsName "$machine")" addr add "$address" dev "$interface"
}

makeSwitch() {
  addNs "$1" && ip -n "$(nsName "$1")" link add br0 type bridge && ip -n "$(nsName "$1")" link set br0 up
}

# A home router: NAT from its LAN out to the internet, nothing let in that
# it did not forward. The chains are named as miniupnpd expects them.
makeRouter() {
  local router=$1 lanNet=$2
  inNs "$router" sysctl -qw net.ipv4.ip_forward=1 || return 1
  inNs "$router" nft -f - <<EOF
table inet filter {
  chain forward {
    type filter hook forward priority 0; policy drop;
    ct state established,related accept
    iifname "lan" accept
    jump miniupnpd
  }
  chain miniupnpd {
  }
  chain prerouting {
    type nat hook prerouting priority -100; policy accept;
    jump prerouting_miniupnpd
  }
  chain postrouting {
    type nat hook postrouting priority 100; policy accept;
    jump postrouting_miniupnpd
    ip saddr $lanNet oifname "wan" masquerade
  }
  chain prerouting_miniupnpd {
  }
  chain postrouting_miniupnpd {
  }
}
EOF
}

startMiniupnpd() {
  cat > "$netWork/miniupnpd.conf" <<EOF
ext_ifname=wan
listening_ip=lan
http_port=0
enable_upnp=yes
enable_natpmp=yes
secure_mode=yes
system_uptime=no
ext_perform_stun=yes
ext_stun_host=${netAddress[stun]}
ext_stun_port=3478
upnp_table_name=filter
upnp_nat_table_name=filter
upnp_forward_chain=miniupnpd
upnp_nat_chain=prerouting_miniupnpd
upnp_nat_postrouting_chain=postrouting_miniupnpd
uuid=3e1f7a9c-5d2b-4c6e-8f00-0123456789ab
allow 1024-65535 198.19.1.0/24 1024-65535
deny 0-65535 0.0.0.0/0 0-65535
EOF
  startIn routerA miniupnpd miniupnpd -d -f "$netWork/miniupnpd.conf" -P "$netWork/miniupnpd.pid"
}

routerRules() {
  inNs "$1" nft list chain inet filter prerouting_miniupnpd
}

netnsUp() {
  local limit=${1:-180} tool
  [ "$(id -u)" -eq 0 ] || netSkip "network namespaces need root"
  for tool in ip nft miniupnpd; do
    command -v "$tool" > /dev/null || netSkip "$tool is not installed (scripts/install-deps installs it)"
  done
  clearStaleNetworks
  trap netDown EXIT
  ip netns add "$netPrefix-probe" 2> "$netWork/probe.err" ||
    netSkip "network namespaces cannot be made here: $(cat "$netWork/probe.err")"
  ip netns del "$netPrefix-probe"
  (
    # The sleep holds no output open: CTest waits for every holder of its
    # pipe, and would wait out the whole limit after the test has ended.
    # A sleep ended early is the test ending: then there is nothing to do.
    sleep "$limit" > /dev/null 2>&1 || exit 0
    echo "FAIL: $limit s are up, tearing the networks down"
    for log in "$netWork"/*.out "$netWork"/*.err; do
      [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
    done
    kill -TERM $$
  ) &
  netWatchdog=$!
  # Its end is no news: the shell need not say "Terminated" when it is stood down.
  disown "$netWatchdog"

  buildNetworks > "$netWork/setup.log" 2>&1 ||
    { cat "$netWork/setup.log"; echo "FAIL: the test networks could not be made"; exit 1; }
}

buildNetworks() {
  local machine
  makeSwitch internet &&
    makeSwitch homeB &&
    for machine in relay lone watcher stun routerA routerB hostA playerB1 playerB2; do addNs "$machine" || return 1; done &&
    for machine in relay lone watcher stun; do plug internet "$machine" eth0 "${netAddress[$machine]}/24" || return 1; done &&
    plug internet routerA wan "${netAddress[routerA]}/24" &&
    plug internet routerB wan "${netAddress[routerB]}/24" &&
    cable routerA lan hostA eth0 &&
    ip -n "$(nsName routerA)" addr add 198.19.1.1/24 dev lan &&
    ip -n "$(nsName hostA)" addr add "${netAddress[hostA]}/24" dev eth0 &&
    ip -n "$(nsName hostA)" route add default via 198.19.1.1 &&
    plug homeB routerB lan 198.19.2.1/24 &&
    plug homeB playerB1 eth0 "${netAddress[playerB1]}/24" &&
    plug homeB playerB2 eth0 "${netAddress[playerB2]}/24" &&
    ip -n "$(nsName playerB1)" route add default via 198.19.2.1 &&
    ip -n "$(nsName playerB2)" route add default via 198.19.2.1 &&
    makeRouter routerA 198.19.1.0/24 &&
    makeRouter routerB 198.19.2.0/24
}

# The STUN server on the internet and miniupnpd on home A's router, which
# asks the first before it forwards anything. Waits until miniupnpd says
# it forwards.
startHomeARouter() {
  local stunTool=$1 tries
  startIn stun stun "$stunTool" "${netAddress[stun]}" 3478
  startMiniupnpd
  for tries in $(seq 50); do
    grep -q "Port forwarding is now enabled\|ext interface wan has now public" "$netWork/miniupnpd.err" 2>/dev/null && return 0
    kill -0 "${netPids[miniupnpd]}" 2>/dev/null || break
    sleep 0.1
  done
  cat "$netWork/miniupnpd.err"
  echo "FAIL: miniupnpd on home A's router did not start forwarding"
  exit 1
}

# startGame MACHINE NAME ARGS...: the real game in that machine's
# namespace, headless, with a folder of its own ($netWork/NAME), in the
# background; bounded in time like the networks.
startGame() {
  local machine=$1 name=$2
  shift 2
  mkdir -p "$netWork/$name"
  startIn "$machine" "$name" env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    QUADRILL_DATA_DIR="$netWork/$name" QUADRILL_CONFIG_DIR="$netWork/$name" \
    timeout 150 "$game" "$@"
}

# waitFor NAME PATTERN SECONDS: until NAME's output has a line matching
# PATTERN (printed), or fails.
waitFor() {
  local name=$1 pattern=$2 seconds=$3 tries
  for tries in $(seq $((seconds * 10))); do
    if grep -m1 -E "$pattern" "$netWork/$name.out" 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  return 1
}

finishGame() {
  wait "${netPids[$1]}" || netFail "$1 ended with $?"
  unset "netPids[$1]"
}

# The closing words a machine printed: how the match ended, its scores and
# its final state hash, on one line.
netVerdict() {
  grep -E '^(match|scores|hash) ' "$netWork/$1.out" | sed -E 's/ after [0-9]+ frames//' | tr '\n' ' '
}

netFail() {
  local log
  echo "FAIL: $*"
  for log in "$netWork"/*.out "$netWork"/*.err; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
  done
  exit 1
}
