# Shared by the scripts that drive the real program on a private X server (newcomer.sh,
# screenshots.sh): their work folder and its clean-up, the server, finding the game's window,
# waiting on a condition, pressing keys, and reading places of the window with window_probe. The
# sourcing script sets `build` (the build folder) and defines `fail`, then calls x_drive_setup.

# Checks for window_probe and makes the work folder; the game (`game`, its process) and the server
# are stopped and the folder removed on exit (kept with KEEP set). $1 names the script in messages.
x_drive_setup() {
  probe_tool="$build/tests/e2e/window_probe"
  [[ -x $probe_tool ]] || { echo "$1: $probe_tool is missing (build the tests)" >&2; exit 1; }
  work="$(mktemp -d)"
  server=""
  game=""
  window=""
  trap x_drive_cleanup EXIT
}
x_drive_cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null
  [[ -n $server ]] && kill "$server" 2>/dev/null
  wait 2>/dev/null
  [[ -n ${KEEP:-} ]] || rm -rf "$work"
}

# Starts the private X server and points the game's window at it.
start_x_server() {
  Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>"$work/xvfb.log" &
  server=$!
  within 10 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")" SDL_VIDEODRIVER=x11
}

# Waits for the game's window and gives it the keyboard. Windows that come and go while xdotool
# looks through them make it complain; only its answer counts.
find_window() {
  within 15 xdotool search --name "TANZLOR" >/dev/null 2>&1 || fail "no window"
  window="$(xdotool search --name "TANZLOR" 2>/dev/null | head -1)"
  xdotool windowfocus "$window"
}

# Waits up to $1 seconds (of the clock, however slow the machine) for the command after it.
within() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
key() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.15; }

# Places are given as x y width height of the 256 x 240 playfield; the window shows the playfield
# doubled, 64 pixels from its left edge. probe prints the place's hash and its lit pixel count.
probe() {
  local x y w h
  read -r x y w h <<<"$1"; shift
  "$probe_tool" "$window" $((64 + 2 * x)) $((2 * y)) $((2 * w)) $((2 * h)) "$@" 2>/dev/null
}
hash_of() { local got; got="$(probe "$1")" && echo "${got%% *}"; }
lit() { local got; got="$(probe "$1")" && ((${got##* } > 0)); }
dark() { local got; got="$(probe "$1")" && ((${got##* } == 0)); }
