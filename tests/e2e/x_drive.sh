# Shared by the scripts that drive the real program on a private X server (newcomer.sh,
# screenshots.sh): waiting on a condition, pressing keys, and reading places of the window with
# window_probe. The sourcing script sets `probe_tool` (window_probe's path) and `window` (the
# game's window id).

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
