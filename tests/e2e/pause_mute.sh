#!/usr/bin/env bash
# Pauses and mutes the real game under Xvfb the way a person would: P
# freezes the match under a darkened note until P again, and M makes the
# sound card (SDL's disk driver, writing what it would play) fall silent
# until M again.
set -euo pipefail
source "$(dirname "$0")/lib/game.bash"
e2e_begin "$1"
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/heard.raw"

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

e2e_launch
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

# P again: play goes on.
press p 0.4
shot resumed1
sleep 0.3
shot resumed2
moved=$(compare -metric AE "$work/resumed1.png" "$work/resumed2.png" null: 2>&1 || true)
[ "$moved" -gt 20 ] || fail "the match did not go on after P ($moved pixels changed)"

# M again, and the next match's serve is heard.
press m 0.4
heard_from=$(heard_bytes)
press Escape 0.5
press Return 1.5
heard_to=$(heard_bytes)
if silent_between "$heard_from" "$heard_to"; then fail "nothing heard with the sound back on"; fi

press Escape 0.5
e2e_quit
echo "e2e: pause freezes the match under its note, mute silences the sound card"
