#!/usr/bin/env bash
# A newcomer's first game on a real X server (Xvfb), driven by key presses (xdotool): the real
# program in a fresh folder with no score file. The title shows only its prompt; Z starts a
# one-character game; a few seconds of firing and weaving, then the game is left to play itself to
# game over; the result keeps the replay (C, slot 00) and goes back to the title (Z), which now
# shows its menu (the first game unlocks three characters); REPLAY opens the replay list, slot 00
# is played back at fast-forward (X held) to its result, and Z goes back to the title; Esc quits
# with status 0; the log has no error entry.
#
# A playback writes nothing (no score, no replay, no log line), so the screen is where it shows:
# the playback's result must draw the same score line, pixel for pixel, as the game's own result,
# must not offer to keep a replay (only a game just played does), and "lastreplay.qvrep" must be
# the game's file still. window_probe (built beside this test) reads rectangles of the window.
# A picture of the running stage is left in the build folder as newcomer_stage.png, and one of
# the window at a failure as newcomer_failure.png (when the window is still there). A failure, or
# the game ending by itself while the test waits on it, ends the test at once, with the game's
# last words on standard error and the log's error entries printed.
#   tests/e2e/newcomer.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: newcomer.sh BUILD_DIR}" && pwd)"
source "$(dirname "${BASH_SOURCE[0]}")/x_drive.sh"
x_drive_setup newcomer
rm -f "$build/newcomer_failure.png"
failure_picture="$build/newcomer_failure.png"
# Presses a key until the command after it holds (within 5 s of a press), at most three times:
# on a loaded machine a press can come before the scene takes it and is lost.
press_until() {
  local pressed=$1; shift
  for _ in 1 2 3; do
    key "$pressed"
    within 5 "$@" && return 0
  done
  return 1
}

# Places on the screen, as x y width height of the 256 x 240 playfield; the window shows the
# playfield doubled, 64 pixels from its left edge.
prompt="40 144 176 8"            # the first-run title's "PUSH A BUTTON TO START" (blinks)
gauge="200 231 56 9"             # the stage's gauge at the bottom right (dark on the title)
replay_row="64 176 48 8"         # the title menu's "REPLAY"
replay_pointer="48 176 8 8"      # the title's pointer beside "REPLAY" (blinks)
list_heading="112 8 48 8"        # the replay list's "REPLAY"
slot00_pointer="0 68 8 8"        # the list's pointer beside slot 00 (blinks)
result_heading="104 16 48 8"     # the result's "RESULT"
score_line="16 64 224 16"        # the result's "CRACKED DATA" and the score
save_offer="16 208 224 16"       # the result's offer to keep the replay and its file name
shows() { [[ "$(hash_of "$1")" == "$2" ]]; }
gone() { ! shows "$1" "$2"; }
# Prints the hash of a place once two reads half a second apart agree (what moved has settled).
settled() {
  local before after
  before="$(hash_of "$1")" || return 1
  for _ in {1..20}; do
    sleep 0.5
    after="$(hash_of "$1")" || return 1
    [[ $before == "$after" ]] && { echo "$after"; return 0; }
    before=$after
  done
  return 1
}

mkdir -p "$work/app" "$work/runtime"
cp -r "$build/tanzlor" "$build/data.bin" "$build/fixbgm" "$work/app/"
start_x_server
# Under the sanitizers the system's own X and D-Bus client libraries keep a few allocations to the
# end of the process; leaks are checked by the in-process tests, not on the real display.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0"

SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" "$work/app/tanzlor" 2>"$work/game.err" &
game=$!
find_window
within 10 lit "$prompt" || fail "the title shows no \"PUSH A BUTTON TO START\""
dark "$replay_row" || fail "the first title shows its menu before any game"
press_until z lit "$gauge" || fail "Z on the title did not start the stage"
# Fire and weave for a while, so that the replay holds more than one button word.
xdotool keydown z
for _ in 1 2 3 4 5 6 7 8 9 10; do
  xdotool keydown Left; sleep 0.6; xdotool keyup Left
  xdotool keydown Right; sleep 0.6; xdotool keyup Right
done
xdotool keyup z
window_picture "$build/newcomer_stage.png" || fail "the stage's window cannot be read"
# No key more: the enemies end the game, and the stage saves the last game's replay.
while_game_runs 240 test -e "$work/app/replay/lastreplay.qvrep" || fail "no game over"
within 10 lit "$result_heading" || fail "no result after the game"
heading="$(settled "$result_heading")" || fail "the result's heading does not settle"
score="$(settled "$score_line")" || fail "the result's score line does not settle"
lit "$score_line" || fail "the result shows no score"
lit "$save_offer" || fail "the result does not offer to keep the replay"
cp "$work/app/replay/lastreplay.qvrep" "$work/game.qvrep"
press_until c test -e "$work/app/replay/qvreplay00.qvrep" || fail "the result did not keep the replay"
cmp -s "$work/game.qvrep" "$work/app/replay/qvreplay00.qvrep" || fail "slot 00 is not the game's replay"
# The result takes Z from its 31st frame on; a press before that is lost and made again.
press_until z lit "$replay_row" || fail "after the first game the title does not show its menu"

# REPLAY is two rows up from the first row (up wraps to RANKING, then REPLAY), whatever rows
# the arrest count opens: Up until the pointer stands there (a lost press leaves it short).
for _ in {1..12}; do
  key Up
  within 2 lit "$replay_pointer" && break
done
within 5 lit "$replay_pointer" || fail "the title's pointer is not on REPLAY"
press_until z lit "$list_heading" || fail "REPLAY did not open the replay list"
list="$(hash_of "$list_heading")"
press_until Down lit "$slot00_pointer" || fail "the list's pointer is not on slot 00"
# The list goes when the choice is carried out, half a second later, and the playback begins.
press_until z gone "$list_heading" "$list" || fail "choosing slot 00 did not start its playback"
xdotool keydown x
while_game_runs 120 shows "$result_heading" "$heading" || { xdotool keyup x; fail "the playback did not reach its result"; }
xdotool keyup x
within 10 shows "$score_line" "$score" || fail "the playback ended on another score than the game it replays"
within 5 dark "$save_offer" || fail "the playback's result offers to keep a replay: it was not a playback"
cmp -s "$work/game.qvrep" "$work/app/replay/lastreplay.qvrep" || fail "the playback replaced the last replay"
press_until z lit "$replay_row" || fail "the playback's result did not go back to the title"

key Escape
within 10 process_ended "$game" || fail "Esc did not end the game"
status=0
wait "$game" || status=$?
game=""
((status == 0)) || fail "the game ended with status $status"
# Red entries are errors, except the notices of objects released at the end.
if grep -a 'FONT color="RED"' "$work/app/system_log.html" | grep -av -e ' Destruct<' -e '::Release<' | grep -q .; then
  fail "the log has an error entry"
fi
echo "newcomer: title, game, game over, replay kept, full title menu, replay played back to the same score, quit"
