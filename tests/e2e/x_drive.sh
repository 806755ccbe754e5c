# Shared by the scripts that drive the real program on a private X server (newcomer.sh,
# screenshots.sh): their work folder and its clean-up, the server, finding the game's window,
# waiting on a condition, pressing keys, reading places of the window with window_probe, and
# `fail`. The sourcing script sets `build` (the build folder), then calls x_drive_setup.

# Checks for window_probe and makes the work folder; the game (`game`, its process) and the server
# are stopped and the folder removed on exit (kept with KEEP set). $1 names the script in messages.
x_drive_setup() {
  x_drive_name=$1
  probe_tool="$build/tests/e2e/window_probe"
  [[ -x $probe_tool ]] || { echo "$1: $probe_tool is missing (build the tests)" >&2; exit 1; }
  work="$(mktemp -d)"
  server=""
  game=""
  window=""
  failure_picture=""  # where fail leaves a picture of the window, when set
  trap x_drive_cleanup EXIT
}
x_drive_cleanup() {
  [[ -n $game ]] && stop_process "$game"
  [[ -n $server ]] && stop_process "$server"
  [[ -n ${KEEP:-} ]] || rm -rf "$work"
}

# Asks a child process to end and waits for it, at most 5 s: one that does not end by then (a
# program stuck behind a message box takes the request as Esc and may never get to it) is killed.
stop_process() {
  kill "$1" 2>/dev/null || return 0
  within 5 process_ended "$1" || kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null || true
}
# Whether a child process has ended (one that ended stays a zombie until it is waited for).
process_ended() { local state; state="$(ps -o stat= -p "$1")" || return 0; [[ $state == Z* ]]; }

# Ends the script at once with status 1: the message, a picture of the window when it is still
# there (failure_picture), the last lines the game wrote on standard error, and the error entries
# of the game's log.
fail() {
  echo "$x_drive_name: $*" >&2
  if [[ -s $work/game.err ]]; then tail -n 20 "$work/game.err" | sed 's/^/game: /' >&2; fi
  if [[ -n $window && -n $failure_picture ]]; then
    window_picture "$failure_picture" || echo "$x_drive_name: no picture of the window (gone)" >&2
  fi
  if [[ -f $work/app/system_log.html ]]; then
    LC_ALL=C grep -ao '<FONT color="RED">[^<]*' "$work/app/system_log.html" | LC_ALL=C sed 's/^<[^>]*>/log: /' |
      iconv -f CP932 -t UTF-8 >&2 || true
  fi
  exit 1
}

# The whole window as a PNG picture; fails within seconds when the window or the server is gone.
window_picture() {
  local WIDTH HEIGHT geometry
  geometry="$(timeout 5 xdotool getwindowgeometry --shell "$window" 2>/dev/null)" || return 1
  eval "$(grep -E '^(WIDTH|HEIGHT)=[0-9]+$' <<<"$geometry")"
  [[ -n ${WIDTH:-} && -n ${HEIGHT:-} ]] || return 1
  timeout 5 "$probe_tool" "$window" 0 0 "$WIDTH" "$HEIGHT" "$1" >/dev/null 2>&1
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
# Waits as within does for what the running game is to bring about: a game that has ended ends the
# script at once, with its status and its log's errors, rather than at the deadline.
while_game_runs() {
  local seconds=$1; shift
  within "$seconds" game_runs_and "$@"
}
game_runs_and() {
  if process_ended "$game"; then
    local status=0
    wait "$game" || status=$?
    game=""
    fail "the game ended (status $status) while waiting for: $*"
  fi
  "$@"
}
key() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.15; }

# Places are given as x y width height of the 256 x 240 playfield; the window shows the playfield
# doubled, 64 pixels from its left edge. probe prints the place's hash and its lit pixel count.
probe() {
  local x y w h
  read -r x y w h <<<"$1"; shift
  timeout 5 "$probe_tool" "$window" $((64 + 2 * x)) $((2 * y)) $((2 * w)) $((2 * h)) "$@" 2>/dev/null
}
hash_of() { local got; got="$(probe "$1")" && echo "${got%% *}"; }
lit() { local got; got="$(probe "$1")" && ((${got##* } > 0)); }
dark() { local got; got="$(probe "$1")" && ((${got##* } == 0)); }
