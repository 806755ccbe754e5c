#!/usr/bin/env bash
# Measures the game's start-up: the time from exec to the first presented frame, and the peak
# resident memory up to then, over several runs of build/tanzlor: first headless on SDL's dummy
# video driver, then on a real X server, a private Xvfb started for the measurement (skipped when
# Xvfb is not installed). The X server is started once, before its runs, and is not timed.
#   scripts/startup.sh [RUNS]   (default 5; prints each run, then each display's median time and peak)
# A small library preloaded into the game notes the moment of its first present and ends it
# there; the program itself has no part in the measurement.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"
exe="$root/build/tanzlor"
[[ -x $exe ]] || { echo "startup.sh: build the game first (scripts/build.sh build)" >&2; exit 2; }
work="$(mktemp -d)"
server=""
cleanup() {
  [[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -shared -fPIC -o "$work/first_frame.so" -x c - -ldl <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

/* Passes the first present through, then writes "<ns since exec> <peak KB>" and ends the run. */
void SDL_RenderPresent(void* renderer) {
    void (*real)(void*) = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    real(renderer);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    long long start = atoll(getenv("STARTUP_EXEC_NS"));
    long long ns = (long long)now.tv_sec * 1000000000LL + now.tv_nsec - start;
    FILE* out = fopen(getenv("STARTUP_RESULT"), "w");
    if (out != NULL) {
        fprintf(out, "%lld %ld\n", ns, usage.ru_maxrss);
        fclose(out);
    }
    _exit(0);
}
EOF

export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
mkdir -p "$work/runtime"

# Runs the game RUNS times on the SDL video driver $2 and prints, under the heading $1, each run and the summary.
measure() {
  local label="$1" times=() peak=0 ns kb ms median
  echo "$label:"
  for ((i = 1; i <= runs; ++i)); do
    rm -f "$work/result"
    # The clock is read by bash itself, right before the exec of the game in the same process.
    ( export SDL_VIDEODRIVER="$2" XDG_RUNTIME_DIR="$work/runtime" STARTUP_RESULT="$work/result" \
        LD_PRELOAD="$work/first_frame.so"
      STARTUP_EXEC_NS="${EPOCHREALTIME/./}000"; export STARTUP_EXEC_NS
      exec "$exe" ) >/dev/null 2>&1 || true
    [[ -s $work/result ]] || { echo "startup.sh: run $i ($label) presented no frame" >&2; exit 1; }
    read -r ns kb < "$work/result"
    ms=$(awk -v ns="$ns" 'BEGIN { printf "%.1f", ns / 1e6 }')
    echo "  run $i: first frame after $ms ms, peak resident memory $((kb / 1024)) MB"
    times+=("$ms")
    ((kb > peak)) && peak=$kb
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  echo "  median: $median ms to the first frame; peak resident memory $((peak / 1024)) MB"
}

( unset DISPLAY; measure "SDL's dummy video driver" dummy )
if ! command -v Xvfb >/dev/null; then
  echo "X server: skipped, Xvfb is not installed (scripts/install-deps.sh installs it)"
  exit 0
fi
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for ((i = 0; i < 100; ++i)); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
measure "X server (Xvfb)" x11
