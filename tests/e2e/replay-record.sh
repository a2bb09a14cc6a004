#!/usr/bin/env bash
# A match played in the real window, with keys pressed through xdotool, is
# recorded in the player's data folder; quadrill-sim verifies the replay,
# and the last frame it composes is the picture the window showed while the
# final scores blinked.
set -euo pipefail

binary=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
sim=$(readlink -f "$(dirname "$binary")/tools/quadrill-sim")

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$here/support/window.bash"
run_under_xvfb "$here/$(basename "$0")" "$binary"

work=$(mktemp -d)
game=""
trap 'kill $game 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/home" "$work/shots"
cd "$work"

use_home "$work/home"
replays="$HOME/.local/share/quadrill/replays"

start_game
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 400 ] || fail "window is ${WIDTH} wide, not 400"
wx=$X
wy=$Y
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5

# Green, red and blue are people too (yellow is by default): with nobody
# really playing, balls go out quickly and the match is short.
for y in 196 220 172; do
  xdotool mousemove --window "$window" 267 "$y" click 1
  sleep 0.2
done
xdotool key --window "$window" Return

# Everybody presses keys now and then until the match is over and filed.
keys=(q a Left Right Prior Next c v)
shot=0
for step in $(seq 1 900); do
  if [ $((step % 5)) = 0 ]; then
    key=${keys[$((RANDOM % 8))]}
    xdotool keydown --window "$window" "$key"
    sleep 0.15
    xdotool keyup --window "$window" "$key"
  fi
  # The last few seconds of pictures, to find the blinking scores in.
  import -window root -crop "400x400+$wx+$wy" +repage "$work/shots/$((shot % 30)).png"
  shot=$((shot + 1))
  ls "$replays"/*.qrpl > /dev/null 2>&1 && break
  sleep 0.05
done
recorded=$(ls "$replays"/*.qrpl 2>/dev/null | head -n 1)
[ -n "$recorded" ] || fail "no replay in $replays"
kill -0 "$game" 2>/dev/null || fail "the game ended"

verdict=$("$sim" --verify "$recorded" | grep -v '^timing')
echo "$verdict"
case "$verdict" in
  *", OK") ;;
  *) fail "the window's replay does not verify: $verdict" ;;
esac
frames=$(echo "$verdict" | sed -E 's/.* ([0-9]+) frames.*/\1/')
"$sim" --verify "$recorded" --snapshot "$work/last.bmp" --snapshot-frame "$frames" > /dev/null

# The scores blinked over a still arena: one of the pictures shows them
# exactly as the replay's last frame does.
best=160000
for picture in "$work"/shots/*.png; do
  differ=$(compare -metric AE -fuzz 2% "$picture" "$work/last.bmp" null: 2>&1 || true)
  differ=${differ%% *}
  [ "${differ%.*}" -lt "$best" ] && best=${differ%.*}
done
[ "$best" -lt 20 ] || fail "no picture of the match's end shows the replay's last frame ($best pixels differ)"
echo "e2e: a match played in the window verifies, and ends as the window showed it"
