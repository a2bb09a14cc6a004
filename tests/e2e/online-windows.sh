#!/usr/bin/env bash
# Two real windows play one online match on this machine: the host ticks
# green, the one that joined ticks red, and each gets keys from xdotool
# while it has the focus. Both write the picture of the same settled frame
# (a test switch), and the two pictures are the same to the byte.
set -euo pipefail

binary=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/support/window.bash"
run_under_xvfb "$here/$(basename "$0")" "$binary"

work=$(mktemp -d)
host=""
guest=""
trap 'kill $host $guest 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/host" "$work/guest"
cd "$work"
use_home "$work/host"

# About nine seconds into the match: both machines must have settled it.
frame=540
port=$((30000 + RANDOM % 20000))

# Keys go to the window that has the focus, as a person's would.
focus() { # window
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.2
}

hold() { # window key seconds
  focus "$1"
  xdotool keydown --window "$1" "$2"
  sleep "$3"
  xdotool keyup --window "$1" "$2"
}

QUADRILL_NET_DUMP="$frame:$work/host.bmp" "$binary" --host "$port" --no-port-mapping > "$work/host.txt" 2>&1 &
host=$!
wait_for_window "Quadrill - hosting on port $port"
hostWindow=$window
xdotool windowmove "$hostWindow" 0 0

HOME="$work/guest" QUADRILL_NET_DUMP="$frame:$work/guest.bmp" "$binary" --join "127.0.0.1:$port" \
  > "$work/guest.txt" 2>&1 &
guest=$!
wait_for_window "Quadrill - joined 127.0.0.1"
guestWindow=$window
xdotool windowmove "$guestWindow" 500 0
sleep 1

# Each claims its colour with its Player box (green is the host's, red the
# guest's), and the host starts the match for both.
focus "$hostWindow"
xdotool mousemove --window "$hostWindow" 267 196 click 1
focus "$guestWindow"
xdotool mousemove --window "$guestWindow" 267 220 click 1
sleep 1
focus "$hostWindow"
xdotool key --window "$hostWindow" Return

for _ in $(seq 1 5); do
  hold "$hostWindow" q 0.7
  hold "$guestWindow" Prior 0.6
  hold "$hostWindow" a 0.4
  hold "$guestWindow" Next 0.9
done
for _ in $(seq 1 100); do
  [ -s "$work/host.bmp" ] && [ -s "$work/guest.bmp" ] && break
  sleep 0.2
done
[ -s "$work/host.bmp" ] || fail "the host wrote no picture of frame $frame: $(cat "$work/host.txt")"
[ -s "$work/guest.bmp" ] || fail "the guest wrote no picture of frame $frame: $(cat "$work/guest.txt")"
cmp -s "$work/host.bmp" "$work/guest.bmp" || fail "the two windows showed frame $frame differently"
# The match had both people in it, not one machine playing alone.
kill -0 "$host" 2>/dev/null || fail "the host ended: $(cat "$work/host.txt")"
kill -0 "$guest" 2>/dev/null || fail "the guest ended: $(cat "$work/guest.txt")"

# Escape leaves the match on each machine, and each files its replay: the
# keys in it are the ones xdotool pressed, green's and red's both.
for pair in "$guestWindow:$guest" "$hostWindow:$host"; do
  focus "${pair%%:*}"
  xdotool key --window "${pair%%:*}" Escape
done
sim=$(readlink -f "$(dirname "$binary")/tools/quadrill-sim")
for side in host guest; do
  replay=""
  for _ in $(seq 1 50); do
    replay=$(ls "$work/$side"/.local/share/quadrill/replays/*.qrpl 2>/dev/null | head -n 1 || true)
    [ -n "$replay" ] && break
    sleep 0.2
  done
  [ -n "$replay" ] || fail "the $side kept no replay"
  "$sim" --verify "$replay" --trace > "$work/$side.trace" || fail "the $side's replay does not verify"
  # Key bits: two a colour, green first: green is 0x03, red 0x30.
  pressed=0
  for bits in $(grep -o 'keys=0x[0-9a-f]*' "$work/$side.trace" | sort -u | cut -d= -f2); do
    pressed=$((pressed | (bits & 0x33)))
  done
  [ "$pressed" = 51 ] || fail "the $side's replay lacks keys of green or red (bits $pressed)"
done
echo "e2e: host and guest windows composed frame $frame alike"
