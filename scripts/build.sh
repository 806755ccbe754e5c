#!/usr/bin/env bash
# Configures and builds into the given folder:
#   scripts/build.sh <build dir> [cmake options...] [--target <targets>...]
# Without --target it builds everything the configuration has (tests and benchmarks included).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"; shift
options=()
while (($#)) && [[ "$1" != --target ]]; do options+=("$1"); shift; done
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" "$@"
