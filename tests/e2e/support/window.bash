# Shared by the end-to-end scripts (sourced, not run on its own).

# Waits up to ten seconds for the game's window and puts its id in $window;
# fails the test (through the script's own fail) when none appears.
wait_for_window() {
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Quadrill$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  fail "no window titled Quadrill"
}

# Starts the game and waits for its window.
start_game() {
  "$binary" > "$work/out.txt" 2>&1 &
  game=$!
  wait_for_window
}

# Escape in the menu quits; the game must end by itself with exit code 0.
quit_from_menu() {
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
