# Sourced by the end-to-end scripts: the real game under Xvfb, driven with
# xdotool the way a person would drive it.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Takes the game's binary and the screen's size (1024x768 when not given);
# sets binary, and work (a fresh folder, the working directory and HOME,
# removed at the end); runs the calling script over again inside its own
# X server.
e2e_begin() {
  binary=$(readlink -f "$1")
  if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
    export QUADRILL_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 ${2:-1024x768}x24" bash "$0" "$binary"
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cd "$work"
  export SDL_VIDEODRIVER=x11
  export HOME="$work"
}

# Starts the game and waits for its window; sets game (the process),
# window, its size (WIDTH, HEIGHT) and the place of its picture (wx, wy).
e2e_launch() {
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
  wx=$X
  wy=$Y
}

# Escape in the menu: the game must end, and end well.
e2e_quit() {
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
}
