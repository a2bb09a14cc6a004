# Shared by the end-to-end scripts (sourced, not run on its own).

# Waits up to thirty seconds (a loaded machine is slow to start a game) for
# the game's window to show, titled "Quadrill" or as asked, and puts its id
# in $window; fails the test (through the script's own fail) when none
# appears. Only a shown window counts: the game makes its window hidden,
# and the renderer may make it again before it is shown.
wait_for_window() { # [title]
  local title=${1:-Quadrill}
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  fail "no window titled $title"
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

# Runs the calling script again inside an Xvfb server of its own (1024 x
# 768) unless it already is in one. The display number to start from is
# drawn, so that two tests started at once never share a server.
run_under_xvfb() { # script binary
  if [ -z "${QUADRILL_E2E_INNER:-}" ]; then
    export QUADRILL_E2E_INNER=1
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash "$1" "$2"
  fi
}

# The game on the X server, silent, with a home folder of the test's own
# and no folder variables of the caller's.
use_home() { # folder
  export SDL_VIDEODRIVER=x11
  export SDL_AUDIODRIVER=dummy
  export HOME="$1"
  unset XDG_DATA_HOME XDG_STATE_HOME XDG_CONFIG_HOME QUADRILL_DATA_DIR QUADRILL_CONFIG_DIR
}
