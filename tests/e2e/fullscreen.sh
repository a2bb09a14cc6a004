#!/usr/bin/env bash
# F11 and Alt+Enter under a real window manager on a 1920 x 1080 screen:
# the arena fills the screen's height, centred between dark bars, and the
# window comes back at its size.
set -euo pipefail

binary=$(readlink -f "$1")
assets=$(readlink -f "$(dirname "$binary")/generated/assets")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
  export QUADRILL_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$binary"
fi

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export HOME="$work"
export QUADRILL_DATA_DIR="$work/data"
export QUADRILL_CONFIG_DIR="$work/config"

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$(readlink -f "$0")")/support/window.bash"

openbox --sm-disable > /dev/null 2>&1 &
wm=$!
# A window mapped before the window manager runs stays unmanaged, and
# fullscreen is the window manager's to give.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$binary" > "$work/out.txt" 2>&1 &
game=$!
trap 'kill $game $wm 2>/dev/null || true; wait $game 2>/dev/null || true; rm -rf "$work"' EXIT

wait_for_window
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 800 ] || fail "first window is ${WIDTH}x${HEIGHT}, not 800x800 on a 1080-pixel desktop"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.3

xdotool key --window "$window" Return
sleep 0.3
xdotool key --window "$window" F11

# Mean brightness of a region of the last screenshot, 0 to 1.
mean() { convert "$work/full.png" -crop "$1" +repage -colorspace Gray -format '%[fx:mean]' info:; }
bars_beside() { awk "BEGIN{exit !($(mean 400x1080+0+0) < 0.08 && $(mean 400x1080+1520+0) < 0.08)}"; }
# The arena reaches the top and bottom of the screen.
full_height() { awk "BEGIN{exit !($(mean 1000x4+460+0) > 0.08 && $(mean 1000x4+460+1076) > 0.08)}"; }

# A busy machine may take a while to switch: look again for up to ten seconds.
for _ in $(seq 1 20); do
  sleep 0.5
  import -window root "$work/full.png"
  bars_beside && full_height && break
done
bars_beside || fail "no dark bars beside the picture"
full_height || fail "the picture does not fill the height"
convert "$work/full.png" -crop 1080x1080+420+0 +repage -resize 400x400 "$work/arena.png"
diff_arena=$(compare -metric AE -fuzz 8% "$work/arena.png" "$assets/picCombat.bmp" null: 2>&1 || true)
[ "$diff_arena" -lt 30000 ] || fail "arena not shown full height ($diff_arena pixels differ)"

# Alt+Enter leaves fullscreen, and the window has its size again.
xdotool key --window "$window" alt+Return
for _ in $(seq 1 20); do
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" = 800 ] && [ "$HEIGHT" = 800 ] && break
done
[ "$WIDTH" = 800 ] && [ "$HEIGHT" = 800 ] || fail "window came back as ${WIDTH}x${HEIGHT}"
kill -0 "$game" || fail "the game ended"
echo "e2e: fullscreen fills the height with bars and comes back"
