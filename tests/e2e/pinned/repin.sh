#!/usr/bin/env bash
# Pins the whole-game runs again after an intended change: runs every one, writes the values that
# changed into pinned_runs.txt (beside this script) and prints, for each run that changed, what
# differs and the first checkpoint frame at which it does; then checks that the runs together
# still make every class. Usage: tests/e2e/pinned/repin.sh [build folder, default build]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
cmake --build "$build" --target test_pinned_runs >/dev/null
cd "$build/tests/e2e/pinned"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
PIN=1 ./test_pinned_runs --gtest_filter='Runs/*' --gtest_brief=1 | grep -v '^\[' || true
PIN=1 ./test_pinned_runs --gtest_filter='PinnedRunsTogether.*' --gtest_brief=1
git -C "$root" diff --stat -- tests/e2e/pinned/pinned_runs.txt
