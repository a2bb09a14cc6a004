#!/usr/bin/env bash
# Pauses and mutes the real game under Xvfb the way a person would: P
# freezes the match under a darkened note until P again, and M makes the
# sound card (SDL's disk driver, writing what it would play) fall silent
# until M again.
set -euo pipefail

binary=$(readlink -f "$1")

if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
  export QUADRILL_E2E_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$binary"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/heard.raw"
export HOME="$work"
unset XDG_DATA_HOME XDG_STATE_HOME XDG_CONFIG_HOME QUADRILL_DATA_DIR QUADRILL_CONFIG_DIR

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$(readlink -f "$0")")/support/window.bash"

shot() { import -window root -crop "400x400+$wx+$wy" +repage "$work/$1.png"; }
brightness() { convert "$work/$1.png" -colorspace gray -format "%[fx:mean]" info:; }
heard_bytes() { stat -c %s "$work/heard.raw"; }
# True when the sound card played nothing but silence between two offsets.
silent_between() {
  cmp -s -i "$1:0" -n $(($2 - $1)) "$work/heard.raw" /dev/zero
}
press() {
  xdotool key --window "$window" "$1"
  sleep "$2"
}

start_game
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X
wy=$Y
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
[ -s "$work/heard.raw" ] || fail "the disk audio driver writes nothing"

# Muted in the menu, a match starts with its serve sound unheard.
press m 0.4
muted_from=$(heard_bytes)
press Return 2.5
muted_to=$(heard_bytes)
[ $((muted_to - muted_from)) -gt 40000 ] || fail "too little sound written while muted"
silent_between "$muted_from" "$muted_to" || fail "sound was heard while muted"

# P: the match stands still under the note.
shot playing
press p 0.5
shot paused1
sleep 1
shot paused2
still=$(compare -metric AE "$work/paused1.png" "$work/paused2.png" null: 2>&1 || true)
[ "$still" = 0 ] || fail "the paused match still moves ($still pixels changed in a second)"
darker=$(awk -v a="$(brightness paused1)" -v b="$(brightness playing)" 'BEGIN { print (a < 0.7 * b) ? 1 : 0 }')
[ "$darker" = 1 ] || fail "no darkened note over the paused match"
title=$(convert "$work/paused1.png" -crop 160x50+120+150 +repage -colorspace gray -threshold 92% \
  -format "%[fx:mean*w*h]" info:)
[ "${title%.*}" -gt 30 ] || fail "no title on the pause note ($title bright pixels)"

# P again: play goes on (after the start pause of a new serve, perhaps).
press p 0.2
shot resumed
moved=0
for _ in $(seq 1 10); do
  sleep 0.25
  shot later
  moved=$(compare -metric AE "$work/resumed.png" "$work/later.png" null: 2>&1 || true)
  [ "$moved" -gt 20 ] && break
done
[ "$moved" -gt 20 ] || fail "the match did not go on after P ($moved pixels changed)"

# M again, and the next match's serve is heard.
press m 0.4
heard_from=$(heard_bytes)
press Escape 0.5
press Return 1.5
heard_to=$(heard_bytes)
if silent_between "$heard_from" "$heard_to"; then fail "nothing heard with the sound back on"; fi

press Escape 0.5
quit_from_menu
echo "e2e: pause freezes the match under its note, mute silences the sound card"
