#!/usr/bin/env bash
# quadrill --replay plays a golden replay in the window at its own pace to
# its end: the pictures of two of its frames are the ones quadrill-sim
# composes for them, Space pauses, Right held plays fast, Escape leaves,
# and a damaged file is refused before any window opens.
set -euo pipefail

binary=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
sim=$(readlink -f "$(dirname "$binary")/tools/quadrill-sim")
assets=$(readlink -f "$(dirname "$binary")/generated/assets")
golden="$here/../replays/four-people.qrpl"

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/support/window.bash"
run_under_xvfb "$here/$(basename "$0")" "$binary"

work=$(mktemp -d)
game=""
trap 'kill $game 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/home"
cd "$work"

use_home "$work/home"

# Is the menu up? Its title and heads, which nothing draws over.
menu_shown() {
  import -window root -crop "250x130+$wx+$wy" +repage "$work/region.png"
  convert "$assets/picMenu.bmp" -crop "250x130+0+0" +repage "$work/expected.png"
  local differ
  differ=$(compare -metric AE -fuzz 6% "$work/region.png" "$work/expected.png" null: 2>&1 || true)
  [ "${differ%% *}" -lt 200 ]
}

# Starts the game on the golden replay and waits for its window.
watch() {
  "$binary" --replay "$golden" > "$work/out.txt" 2>&1 &
  game=$!
  wait_for_window
  eval "$(xdotool getwindowgeometry --shell "$window")"
  wx=$X
  wy=$Y
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Seconds until the menu is back, at most `limit`.
seconds_to_menu() { # limit
  local start=$SECONDS
  while ! menu_shown; do
    [ $((SECONDS - start)) -lt "$1" ] || fail "the replay did not end within $1 s"
    sleep 0.2
  done
  echo $((SECONDS - start))
}


# How long the recorded match took, in whole seconds.
length=$("$sim" --verify "$golden" --trace | awk '/^state/ { sub("ms=", "", $3); total += $3 } END { print int(total / 1000) }')
[ "$length" -gt 20 ] || fail "the golden replay lasts only $length s"
for frame in 400 1500; do
  "$sim" --verify "$golden" --snapshot "$work/sim-$frame.bmp" --snapshot-frame "$frame" > /dev/null
done

# At its own pace, with a pause of three seconds in the middle.
export QUADRILL_REPLAY_DUMP="400:$work/window-400.bmp,1500:$work/window-1500.bmp"
watch
sleep 2
xdotool key --window "$window" space
sleep 3
xdotool key --window "$window" space
took=$(( $(seconds_to_menu $((length + 30))) + 5 ))
[ "$took" -ge $((length + 2)) ] || fail "a replay of $length s with a 3 s pause ended after $took s"
[ "$took" -le $((length + 9)) ] || fail "a replay of $length s with a 3 s pause ended after $took s"
for frame in 400 1500; do
  cmp -s "$work/window-$frame.bmp" "$work/sim-$frame.bmp" || fail "frame $frame in the window is not quadrill-sim's"
done
quit_from_menu
unset QUADRILL_REPLAY_DUMP

# Right held: four times as fast.
watch
xdotool keydown --window "$window" Right
took=$(seconds_to_menu "$length")
xdotool keyup --window "$window" Right
[ "$took" -le $((length / 3 + 2)) ] || fail "with Right held a replay of $length s took $took s"
quit_from_menu

# Escape leaves at once.
watch
sleep 2
xdotool key --window "$window" Escape
took=$(seconds_to_menu 3)
quit_from_menu

# Watching records nothing; a damaged file opens no window.
[ ! -e "$HOME/.local/share/quadrill/replays" ] || fail "watching recorded a replay: $(ls "$HOME/.local/share/quadrill/replays")"
head -c 100 "$golden" > "$work/cut.qrpl"
if "$binary" --replay "$work/cut.qrpl" > "$work/out.txt" 2>&1; then fail "a cut replay was accepted"; fi
grep -q "cut.qrpl: the file ends in the middle" "$work/out.txt" || fail "no reason given: $(cat "$work/out.txt")"
echo "e2e: a golden replay plays in the window as quadrill-sim composes it; Space, Right and Escape work"
