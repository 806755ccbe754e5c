#!/usr/bin/env bash
# The hour-long soak: builds with the soak registered and runs the CTest label "soak" headless.
#   tests/soak/soak.sh [BUILD_DIR]   (default build/)
# The folder's own setting of TANZLOR_SOAK is put back on the way out (pass, failure, Ctrl-C or
# a termination signal), so that later runs of its suite do not take on the hour. A signal also
# ends the build or the tests under way.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# Absolute, as the folder is used again after the cd below (a relative one would name another).
build="$(realpath -m -- "${1:-$root/build}")"
kept=""
if [[ -f "$build/CMakeCache.txt" ]]; then kept="$(sed -n 's/^TANZLOR_SOAK:BOOL=//p' "$build/CMakeCache.txt")"; fi
trap 'cmake -S "$root" -B "$build" -DTANZLOR_SOAK="${kept:-OFF}" >/dev/null' EXIT

# Each step runs in a process group of its own and is waited for in the background, so that a
# signal reaches this script at once (not when the hour is over) and ends the whole group: ctest
# and the soak it runs, or the build and its compilers.
step=""
run_step() {
  setsid "$@" &
  step=$!
  wait "$step"
  step=""
}
stop_step() {
  trap - TERM INT HUP
  if [[ -n $step ]]; then
    kill -TERM -- "-$step" 2>/dev/null || true
    wait "$step" 2>/dev/null || true
  fi
  exit "$1"
}
trap 'stop_step 143' TERM
trap 'stop_step 130' INT
trap 'stop_step 129' HUP

run_step "$root/scripts/build.sh" "$build" -DTANZLOR_SOAK=ON
cd "$build"
run_step env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest -L soak --output-on-failure
