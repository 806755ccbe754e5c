#!/usr/bin/env bash
# The hour-long soak: builds with the soak registered and runs the CTest label "soak" headless.
#   tests/soak/soak.sh [BUILD_DIR]   (default build/)
# The folder's own setting of TANZLOR_SOAK is put back on the way out (pass, failure or Ctrl-C),
# so that later runs of its suite do not take on the hour.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build}"
kept=""
if [[ -f "$build/CMakeCache.txt" ]]; then kept="$(sed -n 's/^TANZLOR_SOAK:BOOL=//p' "$build/CMakeCache.txt")"; fi
trap 'cmake -S "$root" -B "$build" -DTANZLOR_SOAK="${kept:-OFF}" >/dev/null' EXIT
"$root/scripts/build.sh" "$build" -DTANZLOR_SOAK=ON
cd "$build"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest -L soak --output-on-failure
