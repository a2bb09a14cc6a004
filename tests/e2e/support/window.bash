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
