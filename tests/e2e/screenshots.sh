#!/usr/bin/env bash
# Pictures of the game for docs/, taken from the real program on a private X server (Xvfb) and
# driven by key presses (xdotool), as newcomer.sh drives it: the title menu, the party set-up,
# stage 1, stage 2, stage 3's first fortress, stage 16 (the ghost game), a ghost stage (stage 1 in
# the ghost extermination mode), stage 7's ground enemies (docs/stage7_ground.png: a stage no menu
# opens, so pinned_picture takes it from the pinned run of node 7, without the X server), stage 5's
# waving bands, stage 6's falling blocks (with a row being erased when one is caught) and a bell
# cloud of stage 7 with its bells.
#
# The program runs in a fresh folder with a prepared score file: seven characters and the arrest
# count that opens the EXTERMINATION row, so that every mode can be chosen. Stages 2 and 3 are
# reached through EXTERMINATION's single stages; stage 3's fortress after its first three
# sections have scrolled by (with the fire button held, then let go so that the fortress stands). Each picture is read from the window with window_probe once the
# screen it shows has come (the party set-up's panels lit, then gone), and after the scroll has
# brought the ground in. Stages 5 and 6 and stage 7's bell cloud, which no menu offers, are played
# back from a replay that replay_file writes into the fresh folder. Not a test: run it by hand
# after the art changes.
#   tests/e2e/screenshots.sh BUILD_DIR [OUTPUT_DIR]    (OUTPUT_DIR defaults to docs/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:?usage: screenshots.sh BUILD_DIR [OUTPUT_DIR]}" && pwd)"
out="$(mkdir -p "${2:-$root/docs}" && cd "${2:-$root/docs}" && pwd)"
source "$(dirname "${BASH_SOURCE[0]}")/x_drive.sh"
x_drive_setup screenshots
keys() { for k in "$@"; do key "$k"; done; }
# Presses a key until a place lights, at most three times: a press that comes before the scene
# takes input is lost.
press_until_lit() {
  for _ in 1 2 3; do
    key "$1"
    within 3 lit "$2" && return 0
  done
  return 1
}

# Places as x y width height of the 256 x 240 playfield, shown doubled 64 pixels from the left.
title_menu="64 112 104 8"        # the title's first row, "COOP MODE"
party_panel="248 120 8 8"        # the party set-up's plain blue right edge
ground_corner="0 200 8 8"        # the ground at the playfield's left edge: black once the game is over
mode_pointer="48 96 8 8"         # EXTERMINATION's pointer on its MODE row (blinks)
node_pointer="48 128 8 8"        # on its NODE row
ok_pointer="48 160 8 8"          # and on its OK! row
ghost_marker="128 112 8 8"       # its mode marker before "GHOST"
# Two stretches of the bottom row's line, 4 texels apart: the same colours only while a row's
# erase line, even along its length, lies over them (blocks and floor repeat every 16 texels).
erase_line_left="4 233 32 1"
erase_line_right="8 233 32 1"
changed() { [[ "$(hash_of "$1")" != "$2" ]]; }
# The whole window as a picture.
shoot() {
  window_picture "$out/$1.png" || fail "cannot take $1"
  echo "screenshots: $1.png"
}

# The score file, as the game writes one: seven characters unlocked and arrest count 16.
make_score_file() {
  "$build/tests/e2e/score_file" "$1" 16 0 1 9 11 12 13 14 || fail "cannot write the score file"
}

start_game() {
  mkdir -p "$work/app" "$work/runtime"
  rm -rf "${work:?}/app"/*
  cp -r "$build/tanzlor" "$build/data.bin" "$build/fixbgm" "$work/app/"
  make_score_file "$work/app/qvscore.dat"
  SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" "$work/app/tanzlor" 2>"$work/game.err" &
  game=$!
  find_window
  within 10 lit "$title_menu" || fail "the title shows no menu (is the score file read?)"
}
stop_game() {
  stop_process "$game"
  game=""
}
# From the party set-up: a party of $1 characters (default one), Z on the count, on "no" to
# changing the team, and on OK, then wait until the set-up's panels are gone.
start_from_party() {
  local panel
  panel="$(hash_of "$party_panel")" || fail "the party set-up cannot be read"
  for _ in $(seq 2 "${1:-1}"); do key Right; sleep 0.3; done
  for _ in 1 2 3; do key z; sleep 0.5; done
  within 10 changed "$party_panel" "$panel" || fail "the party set-up did not start the stage"
}
# Lets the stage scroll on for $1 seconds with the fire button held, so that the ship holds out
# and the picture shows shots among the enemies.
play_for() { xdotool keydown z; sleep "$1"; xdotool keyup z; }
# EXTERMINATION with the single stage `$1` (1-3), a party of `$2` characters, ghost mode when `$3`
# is "ghost".
extermination() {
  keys Down Down   # COOP MODE -> GHOST MODE -> EXTERMINATION (the seal row is skipped)
  key z
  sleep 2
  # The pointer opens on OK!; down wraps to MODE.
  press_until_lit Down "$mode_pointer" || fail "EXTERMINATION did not open"
  if [[ ${3:-} == ghost ]]; then press_until_lit Right "$ghost_marker" || fail "the ghost mode is not chosen"; fi
  press_until_lit Down "$node_pointer" || fail "EXTERMINATION's NODE row is not reached"
  for _ in $(seq $(($1 - 1))); do key Right; sleep 0.3; done
  press_until_lit Down "$ok_pointer" || fail "EXTERMINATION's OK! row is not reached"
  key z
  within 5 lit "$party_panel" || fail "EXTERMINATION did not open the party set-up"
  sleep 1
  start_from_party "$2"
}

# From the title, the replay list's first line, the last game: the one replay_file wrote.
play_back() {
  keys Down Down Down   # COOP MODE -> GHOST MODE -> EXTERMINATION -> REPLAY
  key z
  sleep 2
  key z
  sleep 1
}
# Writes the last game as a replay of mode $1 for Natsuki alone, with the button words and their
# frames that follow (WORD:FRAMES; in a word 16 is fire, 8 right and 4 left).
replay_of() {
  mkdir -p "$work/app/replay"
  "$build/tests/e2e/replay_file" "$work/app/replay/lastreplay.qvrep" "$1" 11 "${@:2}" ||
    fail "cannot write the replay of mode $1"
}
# Plays back $1 seconds with the bomb key held, which runs a playback 16 frames a frame.
fast_forward() { xdotool keydown x; sleep "$1"; xdotool keyup x; }
erase_line_shown() {
  local left
  left="$(probe "$erase_line_left")" && [[ ${left##* } -gt 0 && ${left%% *} == "$(hash_of "$erase_line_right")" ]]
}

start_x_server

# The title menu, the party set-up, then stage 1 well into its fields.
start_game
sleep 1
shoot title
key z
within 5 lit "$party_panel" || fail "COOP MODE did not open the party set-up"
sleep 1
shoot party
start_from_party
play_for 9
shoot stage1
stop_game

# Stage 2, and stage 3's first fortress: sections 0-2 are 96 map rows and the scroll slows before
# the fortress, about a minute.
start_game
extermination 2 1
play_for 8
shoot stage2
stop_game
# The ship may be lost before the fortress: then the game is over and the stage is tried again.
for attempt in 1 2 3; do
  start_game
  extermination 3 1
  play_for 44
  sleep 14
  if ! dark "$ground_corner"; then shoot stage3_fortress; stop_game; break; fi
  stop_game
  ((attempt < 3)) || fail "the ship was lost before stage 3's fortress three times"
done

# The ghost game (stage 16) from GHOST MODE, and stage 1 as a ghost extermination stage.
start_game
key Down
key z
within 5 lit "$party_panel" || fail "GHOST MODE did not open the party set-up"
start_from_party
play_for 6
shoot stage16
stop_game
start_game
extermination 1 1 ghost
play_for 8
shoot ghost_stage
stop_game
# Stage 7 from its pinned run as its test plays it: a clone under fire and its shots, and two
# small blocks on the dock's first deck.
"$build/tests/e2e/pinned/pinned_picture" Node7 900 "$out/stage7_ground.png" || fail "cannot take stage7_ground"
echo "screenshots: stage7_ground.png"

# Stage 5 some 25 seconds in, its bands swaying (the ship, firing where it stands, holds out that
# long; by the bands' livelier waves it has been lost).
start_game
replay_of 5 16:5000
play_back
fast_forward 1.5
sleep 0.5
shoot stage5
stop_game
# Stage 6 with its blocks piled up, the ship firing as it sways, caught as a row is erased when
# that happens within half a minute.
start_game
sway=()
for _ in $(seq 40); do sway+=(24:40 20:80 24:40); done   # fire and right, fire and left
replay_of 6 "${sway[@]}"
play_back
fast_forward 1.2
within 30 erase_line_shown || echo "screenshots: no row was erased in time; stage 6 shows its blocks only"
shoot stage6
stop_game
# Stage 7's first cloud, entering over the left of the field at its fifth second; the ship, moved
# under it, shoots bells out of it.
start_game
replay_of 7 20:24 16:2000
play_back
sleep 6
shoot bell_cloud
stop_game
echo "screenshots: written to $out"
