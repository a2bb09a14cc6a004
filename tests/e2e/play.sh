#!/usr/bin/env bash
# Plays the real game under Xvfb the way a person would: the menu shows,
# Enter starts a match with moving balls, Escape goes back, Escape quits,
# and the table of best results is on disk byte for byte.
set -euo pipefail

binary=$(readlink -f "$1")
assets=$(readlink -f "$(dirname "$binary")/generated/assets")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
  export QUADRILL_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$binary"
fi

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export HOME="$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

# How many pixels of a region of the screen differ from the same region of
# a picture (both at the window's place), allowing for a little colour noise.
differing_pixels() { # picture x y w h
  import -window root -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage "$work/region.png"
  convert "$1" -crop "$4x$5+$2+$3" +repage "$work/expected.png"
  compare -metric AE -fuzz 6% "$work/region.png" "$work/expected.png" null: 2>&1 || true
}

"$binary" > "$work/out.txt" 2>&1 &
game=$!

window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --name '^Quadrill$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled Quadrill"

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 400 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, not 400x400"
wx=$X
wy=$Y
# Launchers match the window to its desktop entry by its class.
xprop -id "$window" WM_CLASS | grep -q '"Quadrill"' || fail "window class is $(xprop -id "$window" WM_CLASS)"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5

# The menu: its title and heads, which nothing draws over, are the picture's.
diff_menu=$(differing_pixels "$assets/picMenu.bmp" 0 0 250 130)
[ "$diff_menu" -lt 200 ] || fail "menu picture not shown ($diff_menu pixels differ)"
import -window root -crop "400x400+$wx+$wy" +repage "$work/menu.png"

xdotool key --window "$window" Return
sleep 1.6
import -window root -crop "400x400+$wx+$wy" +repage "$work/match1.png"
sleep 0.3
import -window root -crop "400x400+$wx+$wy" +repage "$work/match2.png"

# The arena is up: most of the frame is the arena picture...
diff_arena=$(compare -metric AE -fuzz 6% "$work/match1.png" "$assets/picCombat.bmp" null: 2>&1 || true)
[ "$diff_arena" -lt 20000 ] || fail "arena not shown ($diff_arena pixels differ)"
# ...and something moves on it.
moved=$(compare -metric AE "$work/match1.png" "$work/match2.png" null: 2>&1 || true)
[ "$moved" -gt 20 ] || fail "nothing moves in the match ($moved pixels changed)"

xdotool key --window "$window" Escape
sleep 0.8
xdotool key --window "$window" Escape
for _ in $(seq 1 50); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
  kill "$game"
  fail "Escape in the menu did not quit"
fi
wait "$game" || fail "exit code $?"

# The defaults, with only yellow played by a person.
expected=$(printf '\002Ball\000\005\000Bead\000\002\000Blob\000\000\000' | od -An -tx1)
actual=$(od -An -tx1 Quadrill.dat 2>/dev/null || true)
[ "$expected" = "$actual" ] || fail "Quadrill.dat holds:$actual"
echo "e2e: menu, match, quit and high-score file all as expected"
