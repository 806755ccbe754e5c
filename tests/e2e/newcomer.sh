#!/usr/bin/env bash
# A newcomer's first game on a real X server (Xvfb), driven by key presses (xdotool): the real
# program in a fresh folder with no score file; the title shows; Z starts a one-character game,
# left to play itself to game over; the result keeps the replay (C) and goes back to the title (Z);
# Esc quits with status 0; the log has no error entry. A picture of the running stage is left in
# the build folder as newcomer_stage.png (when ImageMagick's import is there).
#   tests/e2e/newcomer.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: newcomer.sh BUILD_DIR}" && pwd)"
work="$(mktemp -d)"
server=""
game=""
cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null
  [[ -n $server ]] && kill "$server" 2>/dev/null
  wait 2>/dev/null
  [[ -n ${KEEP:-} ]] || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "newcomer: $*" >&2
  [[ -f $work/app/system_log.html ]] && grep -a 'FONT color="RED"' "$work/app/system_log.html" | iconv -f CP932 -t UTF-8 >&2
  exit 1
}
# Waits up to $1 seconds for the command after it to succeed.
within() {
  local seconds=$1; shift
  for ((i = 0; i < seconds * 10; ++i)); do "$@" && return 0; sleep 0.1; done
  return 1
}
key() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
# Whether the game has ended (a child that ended stays a zombie until it is waited for).
ended() { local state; state="$(ps -o stat= -p "$game")" || return 0; [[ $state == Z* ]]; }

mkdir -p "$work/app" "$work/runtime"
cp -r "$build/tanzlor" "$build/data.bin" "$build/fixbgm" "$work/app/"
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
within 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")" SDL_VIDEODRIVER=x11

# Under the sanitizers the system's own X and D-Bus client libraries keep a few allocations to the
# end of the process; leaks are checked by the in-process tests, not on the real display.
ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" "$work/app/tanzlor" 2>"$work/game.err" &
game=$!
within 15 xdotool search --name "TANZLOR" >/dev/null || fail "no window"
window="$(xdotool search --name "TANZLOR" | head -1)"
xdotool windowfocus "$window"
sleep 1  # the title
key z
sleep 3  # the stage begins
if command -v import >/dev/null; then import -window "$window" "$build/newcomer_stage.png"; fi
# No key more: the enemies end the game, and the stage saves the last game's replay.
within 240 test -e "$work/app/replay/lastreplay.qvrep" || fail "no game over"
sleep 1
key c
within 10 test -e "$work/app/replay/qvreplay00.qvrep" || fail "the result did not keep the replay"
key z
sleep 1
key Escape
within 10 ended || fail "Esc did not end the game"
status=0
wait "$game" || status=$?
game=""
((status == 0)) || fail "the game ended with status $status"
# Red entries are errors, except the notices of objects released at the end.
if grep -a 'FONT color="RED"' "$work/app/system_log.html" | grep -av -e ' Destruct<' -e '::Release<' | grep -q .; then
  fail "the log has an error entry"
fi
echo "newcomer: title, game, game over, replay kept, quit"
