#!/usr/bin/env bash
# Plays the real game under Xvfb the way a person would: the menu shows,
# Enter starts a match with moving balls, Escape goes back, Escape quits,
# and the table of best results is on disk byte for byte: in the player's
# data folder, or beside the game when a table was already kept there.
set -euo pipefail

binary=$(readlink -f "$1")
assets=$(readlink -f "$(dirname "$binary")/generated/assets")

if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
  export QUADRILL_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$binary"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home" "$work/play"
cd "$work/play"

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export HOME="$work/home"
unset XDG_DATA_HOME XDG_STATE_HOME XDG_CONFIG_HOME QUADRILL_DATA_DIR QUADRILL_CONFIG_DIR

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$(readlink -f "$0")")/support/window.bash"

# How many pixels of a region of the screen differ from the same region of
# a picture (both at the window's place), allowing for a little colour noise.
differing_pixels() { # picture x y w h
  import -window root -crop "$4x$5+$((wx + $2))+$((wy + $3))" +repage "$work/region.png"
  convert "$1" -crop "$4x$5+$2+$3" +repage "$work/expected.png"
  compare -metric AE -fuzz 6% "$work/region.png" "$work/expected.png" null: 2>&1 || true
}

bytes_of() { od -An -tx1 "$1" 2>/dev/null || true; }

start_game

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
quit_from_menu

# Started in an empty folder: the defaults, with only yellow played by a
# person, in the data folder, and nothing left in the working folder.
stored="$HOME/.local/share/quadrill/Quadrill.dat"
expected=$(printf '\002Ball\000\005\000Bead\000\002\000Blob\000\000\000' | od -An -tx1)
actual=$(bytes_of "$stored")
[ "$expected" = "$actual" ] || fail "$stored holds:$actual"
[ -z "$(ls -A)" ] || fail "files left in the working folder: $(ls -A)"

# A table already kept in the working folder stays in use there.
printf '\017Ann\000\011\000\000\003\000Zed\000\001\000' > Quadrill.dat
beside=$(bytes_of Quadrill.dat)
start_game
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
quit_from_menu
[ "$beside" = "$(bytes_of Quadrill.dat)" ] || fail "Quadrill.dat beside the game holds:$(bytes_of Quadrill.dat)"
[ "$expected" = "$(bytes_of "$stored")" ] || fail "the data folder's table changed"
echo "e2e: menu, match, quit and high-score files all as expected"
