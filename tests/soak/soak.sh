#!/usr/bin/env bash
# The hour-long soak: builds with the soak registered and runs the CTest label "soak" headless.
#   tests/soak/soak.sh [BUILD_DIR]   (default build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build}"
"$root/scripts/build.sh" "$build" -DTANZLOR_SOAK=ON
cd "$build"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest -L soak --output-on-failure
